#pragma once

#include "rules/board.h"

#include <array>
#include <compare>
#include <cstdint>
#include <vector>

// A second, independent generator of the local side's legal moves, built the way a chess
// engine builds one: a 0x88 board, offset tables per piece, pseudo-legal moves filtered by
// an attack test that looks outward from the king's square. The rules tests hold the move
// check against it.
//
// No castling and no en passant exist in Quorin, so neither is generated. A pawn reaching
// row 0 is one move whatever it becomes.
namespace quorin::reference {

// A move as the two cell indices 8 * y + x; ordered so lists of moves sort and compare.
struct FromTo {
    int from = 0;
    int to = 0;

    friend constexpr auto operator<=>(const FromTo&, const FromTo&) = default;
};

enum class Side { Local, Opponent };

// Moves of the local pieces by their movement patterns alone: pawn push, double push from
// row 6 over an empty square, diagonal pawn capture, knight jumps, king steps, sliding
// rays. Targets are empty or hold an opponent piece. Sorted ascending.
std::vector<FromTo> PseudoLegalMoves(const Board& board);

// The pseudo-legal moves after which the local king is not attacked. Sorted ascending.
std::vector<FromTo> LegalMoves(const Board& board);

// How many pieces of side `by` attack `target`. A piece does not attack its own square.
int AttackerCount(const Board& board, Square target, Side by);

inline bool IsAttacked(const Board& board, Square target, Side by) {
    return AttackerCount(board, target, by) > 0;
}

// Answers whether the local king stands attacked once the piece on `from` has been put on
// `to`, whatever stood there removed. The move need not be possible for that piece. False
// when the board has no local king. Built once per board for many questions.
class KingExposure {
public:
    explicit KingExposure(const Board& board);

    bool after(Square from, Square to) const;

private:
    std::array<std::int8_t, 128> cells_;
    int king_ = -1;
};

} // namespace quorin::reference
