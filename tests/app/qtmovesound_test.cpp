#include "app/lazymovesound.h"
#include "app/qtmovesound.h"
#include "support/testenvironment.h"

#include <QAudioDevice>
#include <QLibrary>
#include <QMediaDevices>

#include <gtest/gtest.h>

using namespace quorin;

// Without the file or without an audio output, play returns at once and a move goes on.
TEST(QtMoveSound, NothingToWaitForWithoutFileOrOutput) {
    QtMoveSound missing;
    missing.open(QStringLiteral("/nonexistent-folder/C.wav"));
    EXPECT_FALSE(missing.canPlay());
    missing.play();

    QtMoveSound real;
    real.open(test::AssetsFolder() + QStringLiteral("/C.wav"));
    EXPECT_FALSE(real.canPlay() && QMediaDevices::defaultAudioOutput().isNull());
    for (int i = 0; i < 3; ++i) // with an output each play lasts as long as the sound
        real.play();
    real.close();
    EXPECT_FALSE(real.canPlay());
}

// The sound comes from the library beside the program, loaded on first use, or is silent.
TEST(LazyMoveSound, LoadsTheSoundLibraryBesideTheProgramOrStaysSilent) {
    const QString wav = test::AssetsFolder() + QStringLiteral("/C.wav");
    const QLibrary library(QStringLiteral(QUORIN_SOUND_FOLDER "/quorin_sound"));
    for (const char* folder : {"/nonexistent-folder", QUORIN_SOUND_FOLDER}) {
        EXPECT_FALSE(library.isLoaded());
        LazyMoveSound sound{QString::fromUtf8(folder)};
        sound.open(wav);
        sound.play();
        sound.close();
    }
    EXPECT_TRUE(library.isLoaded());
}
