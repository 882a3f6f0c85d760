#pragma once

#include "movesound.h"

#include <QString>

#include <memory>

namespace quorin {

// The move sound loaded on demand: opening it loads the sound library from the program's
// folder and opens the sound there. Without the library the program is simply silent.
class LazyMoveSound : public MoveSound {
public:
    explicit LazyMoveSound(QString libraryFolder) : folder_(std::move(libraryFolder)) {}

    void open(const QString& file) override;
    void play() override;
    void close() override;

    // The library's name without its platform's prefix and suffix.
    static constexpr const char* kLibrary = "quorin_sound";

private:
    QString folder_;
    std::unique_ptr<MoveSound> sound_;
};

} // namespace quorin
