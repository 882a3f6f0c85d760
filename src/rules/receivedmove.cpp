#include "receivedmove.h"

namespace quorin {

std::optional<PlayerMove> PeerMove(const Board& before, const Board& received, Colour peer) {
    // Seen from the peer's side, the peer's pieces are the local ones.
    return MoveTo(LegalMoves(Turned(before), peer), Turned(received));
}

bool FollowsByOneMove(const Board& before, const Board& received, Colour peer) {
    return PeerMove(before, received, peer).has_value();
}

} // namespace quorin
