#include "gamestate.h"

namespace quorin {

bool GameState::LoadPosition() {
    const auto read = ReadPosition(PositionString);
    if (!read)
        return false;
    board = *read;
    return true;
}

void GameState::ResetCastling() {
    KingMoved = false;
    LeftRookMoved = false;
    RightRookMoved = false;
    CastlingOff = false;
    CastlingRedrawDone = false;
}

} // namespace quorin
