// Where the program reads and writes its files, whichever folder it is started from and
// whether it runs from a build tree or an installation: every rule on real folders.

#include "app/form1.h"
#include "board/boardrenderer.h"
#include "support/files.h"
#include "support/testenvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

#include <optional>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace quorin;

namespace {

// A question put to the environment, answered with a folder.
using Question = QString (*)(const Environment&);

struct Case {
    const char* what;
    std::vector<const char*> files; // "<folder>/<name>" to create; "<folder>/" a bare folder
    Question ask;
    const char* answer; // the folder the answer must be
};

QString Pictures(const Environment& e) {
    return e.picturesFolder();
}
QString Sound(const Environment& e) {
    return QFileInfo(e.moveSoundFile()).path();
}
QString Library(const Environment& e) {
    return e.soundLibraryFolder();
}
QString Addresses(const Environment& e) {
    return e.addressListFolder();
}
QString Records(const Environment& e) {
    return e.recordFolder();
}
QString Chooser(const Environment& e) {
    return e.replayChooserFolder();
}

// The folders are the test environment's: program, work, share (the installed data),
// lib, config and data (the user's). Only "program" exists from the start.
const Case kCases[] = {
    {"pictures in the working folder come first",
     {"work/po1.bmp", "share/po1.bmp"},
     Pictures,
     "work"},
    {"else the installed ones", {"share/po1.bmp", "program/po1.bmp"}, Pictures, "share"},
    {"else those beside the program", {"program/po1.bmp"}, Pictures, "program"},
    {"without any the working folder, as designed", {}, Pictures, "work"},
    {"the sound is found on its own", {"work/po1.bmp", "share/C.wav"}, Sound, "share"},
    {"the sound beside the program", {"program/C.wav"}, Sound, "program"},
    {"address list beside the program",
     {"program/Virir.txt", "config/Virir.txt"},
     Addresses,
     "program"},
    {"else the user's own list", {"config/Virir.txt", "share/Virir.txt"}, Addresses, "config"},
    {"else the installed default", {"share/Virir.txt"}, Addresses, "share"},
    {"records beside a program that may write there", {}, Records, "program"},
    {"an installed program's folder is never written", {"share/"}, Records, "data"},
    {"the sound library beside the program", {}, Library, "program"},
    {"the installed sound library", {"share/"}, Library, "lib"},
    {"the replay starts where the records are", {"share/", "data/"}, Chooser, "data"},
    {"or where the program started before any record", {"share/"}, Chooser, "work"},
};

class Where : public ::testing::TestWithParam<Case> {};

INSTANTIATE_TEST_SUITE_P(Rules, Where, ::testing::ValuesIn(kCases));

TEST_P(Where, EachFileIsLookedUpInItsOrder) {
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
    EXPECT_EQ(GetParam().ask(env.environment()), env.folder(GetParam().answer)) << GetParam().what;
}

TEST(Files, ANameWithAFolderIsSavedFromTheWorkingFolder) {
    test::TestEnvironment env;
    const Environment e = env.environment();
    EXPECT_EQ(e.savedRecordFolder(QStringLiteral("game")), env.programFolder());
    EXPECT_EQ(e.savedRecordFolder(QStringLiteral("games/game")), env.workingFolder());
}

// Makes `folder` read-only for this thread, root included: root passes the mode bits, so
// it gets a read-only bind mount in a mount namespace of this thread's own. Answers
// whether the folder is now read-only.
bool MakeReadOnly(const QString& folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (!QFileInfo(folder).isWritable())
        return true;
    const QByteArray path = QFile::encodeName(folder);
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr);
    return !QFileInfo(folder).isWritable();
}

void MakeWritable(const QString& folder) {
    umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Files, ARecordBesideAReadOnlyProgramGoesToTheUsersDataFolder) {
    test::TestEnvironment env;
    if (!MakeReadOnly(env.programFolder())) {
        MakeWritable(env.programFolder());
        GTEST_SKIP() << "no folder can be made read-only here";
    }
    {
        Form1 window(env.environment());
        window.menu().mnuVSave->trigger();
        EXPECT_TRUE(env.seams().messages.isEmpty());
        EXPECT_EQ(window.record().path(), env.folder("data/RadedIvu.chs"));
        EXPECT_TRUE(QFileInfo::exists(window.record().path()));
    }
    MakeWritable(env.programFolder());
    EXPECT_TRUE(QDir(env.programFolder()).isEmpty());
}

// An installed copy started in an unrelated folder: pictures and sound from the data
// folder, the user's own address list, the record in the user's data folder.
TEST(Files, AnInstalledCopyFindsItsFilesFromAnyFolder) {
    test::TestEnvironment env;
    QDir(env.workingFolder()).removeRecursively();
    QDir().mkpath(env.workingFolder());
    const QDir share(env.folder("share"));
    QDir().mkpath(share.path());
    const QDir assets(test::AssetsFolder());
    for (const QString& name : assets.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.wav")}))
        QFile::copy(assets.filePath(name), share.filePath(name));
    QDir().mkpath(env.folder("config"));
    test::Write(env.folder("config/Virir.txt"), "friend.example\r\n");

    Form1 window(env.environment());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(test::WaitFor([&] { return window.renderer().StripLoaded(); }));
    const QImage pawn(share.filePath(QStringLiteral("po1.bmp")));
    ASSERT_EQ(window.renderer().geometry().PieceWidth, pawn.width());
    EXPECT_EQ(window.renderer().StripSurface().copy(pawn.rect()),
              pawn.convertToFormat(window.renderer().StripSurface().format()));
    ASSERT_TRUE(test::WaitFor([&] { return env.seams().soundOpen; }));
    EXPECT_EQ(env.seams().soundFile, share.filePath(QStringLiteral("C.wav")));
    EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("friend.example"));

    window.menu().mnuVSave->trigger();
    EXPECT_TRUE(QFileInfo::exists(env.folder("data/RadedIvu.chs")));
    EXPECT_TRUE(QDir(env.programFolder()).isEmpty());
    EXPECT_TRUE(QDir(env.workingFolder()).isEmpty());
}

TEST(Files, TheUsersFoldersFollowTheDesktopsSettings) {
    const QTemporaryDir home;
    const auto setting = [](const char* name, const QString& value) {
        const std::optional<QByteArray> before =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        qputenv(name, QFile::encodeName(value));
        return before;
    };
    const auto config = setting("XDG_CONFIG_HOME", home.filePath(QStringLiteral("c")));
    const auto data = setting("XDG_DATA_HOME", home.filePath(QStringLiteral("d")));
    const Environment e = Environment::Default();
    for (const auto& [name, before] :
         {std::pair{"XDG_CONFIG_HOME", config}, {"XDG_DATA_HOME", data}})
        before ? qputenv(name, *before) : qunsetenv(name);
    EXPECT_EQ(e.userConfigFolder, home.filePath(QStringLiteral("c/Quorin")));
    EXPECT_EQ(e.userDataFolder, home.filePath(QStringLiteral("d/Quorin")));
    // The installed data lies beside the program's folder, in the tree it was installed to.
    EXPECT_EQ(e.dataFolder, QDir::cleanPath(e.programFolder + QStringLiteral("/../share/quorin")));
    EXPECT_TRUE(
        e.libraryFolder.startsWith(QDir::cleanPath(e.programFolder + QStringLiteral("/../lib"))));
}

} // namespace
