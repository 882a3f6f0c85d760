#include "gamestate.h"

namespace quorin {

bool GameState::LoadPosition() {
    const auto read = ReadPosition(PositionString);
    if (!read)
        return false;
    board = *read;
    return true;
}

} // namespace quorin
