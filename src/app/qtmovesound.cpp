#include "qtmovesound.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>
#include <QUrl>

namespace quorin {
namespace {

// Longer than any move sound; only a sound that never reports its end waits this long.
constexpr int kLongestWaitMs = 2000;

} // namespace

void QtMoveSound::open(const QString& file) {
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(file));
}

bool QtMoveSound::canPlay() const {
    return effect_ && effect_->status() == QSoundEffect::Ready &&
           !QMediaDevices::defaultAudioOutput().isNull();
}

void QtMoveSound::play() {
    if (!canPlay())
        return;
    QEventLoop wait;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &wait, &QEventLoop::quit);
    QObject::connect(effect_.get(), &QSoundEffect::playingChanged, &wait, [&] {
        if (!effect_->isPlaying())
            wait.quit();
    });
    effect_->stop();
    effect_->play();
    if (!effect_->isPlaying())
        return;
    bound.start(kLongestWaitMs);
    // While the sound plays the player's input and the network wait; paints go on.
    wait.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

void QtMoveSound::close() {
    // A sound still being read is let finish first: taken away half-read, Qt Multimedia
    // would leave the half-read sound behind in its loader.
    if (effect_ && effect_->status() == QSoundEffect::Loading) {
        QEventLoop wait;
        QTimer bound;
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, &wait, &QEventLoop::quit);
        QObject::connect(effect_.get(), &QSoundEffect::statusChanged, &wait, &QEventLoop::quit);
        bound.start(kLongestWaitMs);
        wait.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    }
    effect_.reset();
}

} // namespace quorin
