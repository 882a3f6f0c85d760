#pragma once

#include <QString>

namespace quorin {

// The sound that goes with every move. It is opened once at start-up, played from its
// beginning for each move, and closed at shutdown. Playing returns only when the sound
// has ended, so what follows a move (sending it, drawing it) comes after its sound.
// Where a copy drives the sound device with command strings, these are the steps of
// "Open C.wav alias koma", "Play koma from 0" followed by "Status koma mode" until the
// device reports "stopped", and "close all".
class MoveSound {
public:
    virtual ~MoveSound() = default;
    virtual void open(const QString& file) = 0;
    virtual void play() = 0;
    virtual void close() = 0;
};

} // namespace quorin
