#pragma once

#include "board.h"
#include "castling.h"

#include <optional>
#include <string>
#include <vector>

namespace quorin {

// The two colours of a chess game: White is the first player (先手), who keeps the start
// layout with the own king on column 4; Black is the second player (後手), who sees the
// board turned half a turn, with the own king on column 3.
enum class Colour { White, Black };

constexpr Colour Opponent(Colour c) {
    return c == Colour::White ? Colour::Black : Colour::White;
}

// The chess name of a square of a board seen from `colour`'s side: files a to h and ranks
// 1 to 8 from White's side, so White's bottom-left square is "a1" and Black's "h8".
std::string SquareName(Square s, Colour colour);

// The board as the other player sees it: turned half a turn, every piece's side exchanged.
// Turning twice gives the board back.
Board Turned(const Board& board);

// A move of the player whose pieces are the local ones (codes 0..5) on a board seen from
// that player's side: a piece from `from` to `to`, where a pawn reaching row 0 becomes a
// queen, or a castling, which moves king and rook by the castling table of the player's
// colour (`from` and `to` are then the king's squares).
struct PlayerMove {
    Square from;
    Square to;
    std::optional<CastlingSide> castling;
    Board after;
};

// Every move the local player of `board`, playing `colour`, may make by the game's rules:
// the move check of the mouse input, promotion to a queen, and castling as the castling
// command performs it (which looks at the squares, not at check).
std::vector<PlayerMove> LegalMoves(const Board& board, Colour colour);

// The move among `moves` that leads to `after`, if one does.
std::optional<PlayerMove> MoveTo(const std::vector<PlayerMove>& moves, const Board& after);

} // namespace quorin
