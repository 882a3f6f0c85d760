// Where the program reads and writes its files, every rule on real folders (the end-to-end
// tests start the installed program whole), and the move sound through its library.

#include "app/lazymovesound.h"
#include "app/qtmovesound.h"
#include "support/files.h"
#include "support/testenvironment.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMediaDevices>

#include <gtest/gtest.h>

#include <functional>

#include <sched.h>
#include <sys/mount.h>

using namespace quorin;

namespace {

struct Case {
    const char* what;
    std::vector<const char*> files; // "<folder>/<name>" to create; "<folder>/" a bare folder
    std::function<QString(const Environment&)> ask;
    const char* answer; // the folder or file the answer must be
};

using E = Environment;

// The folders are the test environment's: program, work, share (the installed data),
// lib, config and data (the user's). Only "program" and "work" exist from the start.
const Case kCases[] = {
    // clang-format off
    {"pictures in the working folder first", {"work/po1.bmp", "share/po1.bmp"}, &E::picturesFolder, "work"},
    {"else the installed ones", {"share/po1.bmp", "program/po1.bmp"}, &E::picturesFolder, "share"},
    {"else those beside the program", {"program/po1.bmp"}, &E::picturesFolder, "program"},
    {"without any the working folder, as designed", {}, &E::picturesFolder, "work"},
    {"the sound is found on its own", {"work/po1.bmp", "share/C.wav"}, &E::moveSoundFile, "share/C.wav"},
    {"the sound beside the program", {"program/C.wav"}, &E::moveSoundFile, "program/C.wav"},
    {"address list beside the program", {"program/Virir.txt", "config/Virir.txt"}, &E::addressListFolder, "program"},
    {"else the user's own list", {"config/Virir.txt", "share/Virir.txt"}, &E::addressListFolder, "config"},
    {"else the installed default", {"share/Virir.txt"}, &E::addressListFolder, "share"},
    {"records beside a program that may write there", {}, &E::recordFolder, "program"},
    {"an installed program's folder is never written", {"share/"}, &E::recordFolder, "data"},
    {"the sound library beside the program", {}, &E::soundLibraryFolder, "program"},
    {"the installed sound library", {"share/"}, &E::soundLibraryFolder, "lib"},
    {"the replay starts where the records are", {"share/", "data/"}, &E::replayChooserFolder, "data"},
    {"or where the program started before any record", {"share/"}, &E::replayChooserFolder, "work"},
    {"a bare name is saved beside the record", {"share/"}, [](const E& e) { return e.savedRecordFolder("game"); }, "data"},
    {"a name with folders from the working folder", {"share/"}, [](const E& e) { return e.savedRecordFolder("a/b"); }, "work"},
    // clang-format on
};

class Where : public ::testing::TestWithParam<Case> {};

INSTANTIATE_TEST_SUITE_P(Rules, Where, ::testing::ValuesIn(kCases));

TEST_P(Where, EachFileIsLookedUpInItsOrder) {
    SCOPED_TRACE(GetParam().what);
    test::TestEnvironment env;
    // The working folder starts empty: each case puts there what it names.
    QDir(env.workingFolder()).removeRecursively();
    QDir().mkpath(env.workingFolder());
    for (const char* file : GetParam().files) {
        const QString path = env.folder(file);
        QDir().mkpath(QFileInfo(path).path());
        if (!path.endsWith(QLatin1Char('/')))
            test::Write(path, "x");
    }
    EXPECT_EQ(GetParam().ask(env.environment()), env.folder(GetParam().answer));
}

TEST(Files, ARecordBesideAReadOnlyProgramGoesToTheUsersDataFolder) {
    test::TestEnvironment env;
    const QString program = env.programFolder();
    const QByteArray path = QFile::encodeName(program);
    // Root passes the mode bits: it gets a read-only bind mount in a mount namespace of this
    // thread's own.
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(program).isWritable() && unshare(CLONE_NEWNS) == 0 &&
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
        mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0)
        mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr);
    const bool readOnly = !QFileInfo(program).isWritable();
    const QString folder = env.environment().recordFolder();
    umount2(path.constData(), MNT_DETACH);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!readOnly)
        GTEST_SKIP() << "no folder can be made read-only here";
    EXPECT_EQ(folder, env.folder("data"));
}

// Without the file or without an audio output, play returns at once and a move goes on.
// The sound comes from the library beside the program, loaded on first use, or is silent.
TEST(MoveSound, PlaysThroughTheSoundLibraryOrStaysSilent) {
    const QString wav = test::AssetsFolder() + QStringLiteral("/C.wav");
    QtMoveSound missing;
    missing.open(QStringLiteral("/nonexistent-folder/C.wav"));
    EXPECT_FALSE(missing.canPlay());
    missing.play();

    QtMoveSound real;
    real.open(wav);
    test::WaitFor([&] { return real.canPlay(); }, 1000); // loaded meanwhile
    EXPECT_FALSE(real.canPlay() && QMediaDevices::defaultAudioOutput().isNull());
    for (int i = 0; i < 3; ++i) // with an output each play lasts as long as the sound
        real.play();
    real.close();
    EXPECT_FALSE(real.canPlay());

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

} // namespace
