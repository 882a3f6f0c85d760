#pragma once

#include <QString>

namespace quorin {

// The sound that goes with every move. It is opened once at start-up, played from its
// beginning for each move, and closed at shutdown. Playing returns only when the sound
// has ended, so what follows a move (sending it, drawing it) comes after its sound.
class MoveSound {
public:
    virtual ~MoveSound() = default;
    virtual void open(const QString& file) = 0;
    virtual void play() = 0;
    virtual void close() = 0;
};

} // namespace quorin
