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

#include <functional>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace quorin;

namespace {

// A question put to the environment, answered with a folder or file.
using Question = std::function<QString(const Environment&)>;

struct Case {
    const char* what;
    std::vector<const char*> files; // "<folder>/<name>" to create; "<folder>/" a bare folder
    Question ask;
    const char* answer; // the folder or file the answer must be
};

using E = Environment;
const auto SavedBare = [](const Environment& e) { return e.savedRecordFolder("game"); };
const auto SavedInFolder = [](const Environment& e) { return e.savedRecordFolder("a/b"); };

// The folders are the test environment's: program, work, share (the installed data),
// lib, config and data (the user's). Only "program" exists from the start.
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
    {"a bare name is saved beside the record", {"share/"}, SavedBare, "data"},
    {"a name with folders from the working folder", {"share/"}, SavedInFolder, "work"},
    // clang-format on
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.what;
}

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
    EXPECT_EQ(GetParam().ask(env.environment()).toStdString(),
              env.folder(GetParam().answer).toStdString());
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
        EXPECT_EQ(window.record().path().toStdString(),
                  env.folder("data/RadedIvu.chs").toStdString());
        EXPECT_TRUE(QFileInfo::exists(window.record().path()));
    }
    MakeWritable(env.programFolder());
    EXPECT_TRUE(QDir(env.programFolder()).isEmpty());
}

// An installed copy started in an unrelated folder: pictures and sound from the data
// folder, the user's own address list, the record in the user's data folder. (The
// end-to-end test of the installed program sees the pieces drawn.)
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
    EXPECT_EQ(window.renderer().geometry().PieceWidth, 48);
    ASSERT_TRUE(test::WaitFor([&] { return env.seams().soundOpen; }));
    EXPECT_EQ(env.seams().soundFile.toStdString(),
              share.filePath(QStringLiteral("C.wav")).toStdString());
    EXPECT_EQ(window.Combo1->currentText().toStdString(), "friend.example");

    window.menu().mnuVSave->trigger();
    EXPECT_TRUE(QFileInfo::exists(env.folder("data/RadedIvu.chs")));
    EXPECT_TRUE(QDir(env.programFolder()).isEmpty());
    EXPECT_TRUE(QDir(env.workingFolder()).isEmpty());
}

TEST(Files, TheUsersFoldersFollowTheDesktopsSettings) {
    const QTemporaryDir home;
    const QByteArray config = qgetenv("XDG_CONFIG_HOME"), data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("c"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("d"))));
    const Environment e = Environment::Default();
    // An empty setting counts as none.
    qputenv("XDG_CONFIG_HOME", config);
    qputenv("XDG_DATA_HOME", data);
    EXPECT_EQ(e.userConfigFolder.toStdString(),
              home.filePath(QStringLiteral("c/Quorin")).toStdString());
    EXPECT_EQ(e.userDataFolder.toStdString(),
              home.filePath(QStringLiteral("d/Quorin")).toStdString());
    // The installed data lies beside the program's folder, in the tree it was installed to.
    EXPECT_EQ(e.dataFolder.toStdString(),
              QDir::cleanPath(e.programFolder + QStringLiteral("/../share/quorin")).toStdString());
    EXPECT_TRUE(
        e.libraryFolder.startsWith(QDir::cleanPath(e.programFolder + QStringLiteral("/../lib"))));
}

} // namespace
