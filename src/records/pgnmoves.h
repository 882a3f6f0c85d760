#pragma once

#include "rules/legalmoves.h"

#include <string>
#include <vector>

namespace quorin {

// The move in standard algebraic notation: piece letter, the file, rank or both of the
// starting square when another piece of the same kind could reach the same square, "x"
// for a capture, "=Q" for a promotion, "O-O" or "O-O-O" for castling towards the h- or
// the a-file; then "#" when the opponent is checkmated, "+" when merely in check. `moves`
// are all of the player's moves on `board`.
std::string San(const Board& board, Colour colour, const PlayerMove& move,
                const std::vector<PlayerMove>& moves);

} // namespace quorin
