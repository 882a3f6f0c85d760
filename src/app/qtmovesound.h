#pragma once

#include "movesound.h"

#include <QSoundEffect>

#include <memory>

namespace quorin {

// The move sound on Qt Multimedia. A missing file, a file that cannot be read or a
// machine without an audio output makes play() return at once; a sound that never
// reports its end is given up after a short bound, so a move never hangs on its sound.
class QtMoveSound : public MoveSound {
public:
    void open(const QString& file) override;
    void play() override;
    void close() override;

    // Whether a play would be heard: the sound is loaded and an audio output exists.
    bool canPlay() const;

private:
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace quorin
