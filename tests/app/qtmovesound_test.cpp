#include "app/lazymovesound.h"
#include "app/qtmovesound.h"
#include "support/testenvironment.h"

#include <QAudioDevice>
#include <QLibrary>
#include <QMediaDevices>

#include <gtest/gtest.h>

using namespace quorin;

// A move never waits for a sound that cannot be heard: without the file, or without an
// audio output, play returns at once and the program goes on.
TEST(QtMoveSound, NothingToWaitForWithoutFileOrOutput) {
    QtMoveSound missing;
    missing.open(QStringLiteral("/nonexistent-folder/C.wav"));
    EXPECT_FALSE(missing.canPlay());
    missing.play();
    missing.close();
    EXPECT_FALSE(missing.canPlay());
    missing.play();

    QtMoveSound real;
    real.open(test::AssetsFolder() + QStringLiteral("/C.wav"));
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        EXPECT_FALSE(real.canPlay());
    }
    // With an output each play waits for the sound's end, which comes well within the
    // test's time limit; without one it returns at once.
    for (int i = 0; i < 3; ++i)
        real.play();
    real.close();
    EXPECT_FALSE(real.canPlay());
}

// The program loads its sound from a library beside it; without it, it is silent.
TEST(LazyMoveSound, LoadsTheSoundLibraryOrStaysSilent) {
    LazyMoveSound missing(QStringLiteral("/nonexistent-folder"));
    missing.open(test::AssetsFolder() + QStringLiteral("/C.wav"));
    missing.play();
    missing.close();

    LazyMoveSound beside(QStringLiteral(QUORIN_SOUND_FOLDER));
    beside.open(test::AssetsFolder() + QStringLiteral("/C.wav"));
    beside.play();
    beside.close();
    EXPECT_TRUE(QLibrary(QStringLiteral(QUORIN_SOUND_FOLDER "/quorin_sound")).load());
}
