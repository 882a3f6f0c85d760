#pragma once

#include "board.h"

#include <string_view>

namespace quorin {

// Refusal texts of the move check, for the window to show in a message box.
inline constexpr std::string_view kKingCannotGoThere = "そこには逃げられません。";
inline constexpr std::string_view kMoveLeavesCheck = "チェックのため、その手は使えません。";

// The answer of the move check. A refused move carries the text to show, or an empty
// text when the move is refused silently (geometrically impossible, king safe).
struct MoveVerdict {
    bool allowed = false;
    std::string_view refusal;
};

// Whether the local piece named `piece` (as picked up from S) may move from S to T.
// The movement rule of its kind decides first; then, whatever that said, a move that
// would leave the local king attacked is refused with one of the two texts above.
// A name of no known kind is refused silently. The board is not changed.
MoveVerdict IsMoveAllowed(const Board& board, Square T, Square S, std::string_view piece);

// For a move of a piece other than the king: whether some opponent piece could capture
// the local king once the piece on S stands on T (a piece on T is captured).
bool MoveLeavesKingAttacked(const Board& board, Square T, Square S);

// For a move of the local king from S: whether T is attacked by some opponent piece once
// the king has left S. What stands on T stays, so a defended piece cannot be captured.
bool KingTargetAttacked(const Board& board, Square T, Square S);

// Whether some opponent piece can capture the local king on `board`.
//
// A board without a local king (it has been captured; the game is over) answers false
// here and in MoveLeavesKingAttacked: with no king there is nothing to attack, so no
// move is refused for it and no check is announced.
bool IsKingInCheck(const Board& board);

} // namespace quorin
