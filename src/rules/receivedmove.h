#pragma once

#include "board.h"
#include "legalmoves.h"

namespace quorin {

// Whether the position `received` from the peer follows from `before` by exactly one move
// of the peer, who plays `peer`: by the movement rules of its pieces, its own-king test,
// castling as the castling command makes it, promotion to a queen, and the capture of a
// king. Both boards are as this copy sees them, the peer's pieces at the top.
bool FollowsByOneMove(const Board& before, const Board& received, Colour peer);
// That move, as the peer sees the board (its pieces at the bottom); none when no one move
// leads there.
std::optional<PlayerMove> PeerMove(const Board& before, const Board& received, Colour peer);

} // namespace quorin
