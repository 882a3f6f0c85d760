#include "receivedmove.h"

namespace quorin {

bool FollowsByOneMove(const Board& before, const Board& received, Colour peer) {
    // Seen from the peer's side, the peer's pieces are the local ones.
    return MoveTo(LegalMoves(Turned(before), peer), Turned(received)).has_value();
}

} // namespace quorin
