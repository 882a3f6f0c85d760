#include "lazymovesound.h"

#include <QDir>
#include <QLibrary>

namespace quorin {

void LazyMoveSound::open(const QString& file) {
    if (!sound_) {
        using Create = MoveSound* (*)();
        const auto create = reinterpret_cast<Create>(QLibrary::resolve(
            QDir(folder_).filePath(QLatin1String(kLibrary)), "QuorinCreateMoveSound"));
        if (!create)
            return;
        sound_.reset(create());
    }
    sound_->open(file);
}

void LazyMoveSound::play() {
    if (sound_)
        sound_->play();
}

void LazyMoveSound::close() {
    if (sound_)
        sound_->close();
}

} // namespace quorin
