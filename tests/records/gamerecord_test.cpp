#include "records/form2.h"
#include "records/gamerecord.h"
#include "records/pgnfile.h"
#include "records/recordfile.h"
#include "records/regularfile.h"
#include "rules/position.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace quorin;
using quorin::test::Contents;

namespace {

// The running record in the program folder, holding "0A,01", and a folder to save copies in.
class GameRecordTest : public ::testing::Test {
protected:
    GameRecordTest() {
        test::Write(record.path(), "an older game\r\n");
        record.Record("0C,00");
        EXPECT_EQ(Contents(record.path()), "an older game\r\n"); // not recording yet
        record.SwitchOn();
        record.Record("0A,01");
    }

    QTemporaryDir program, current;
    GameRecord record{program.path()};
};

TEST_F(GameRecordTest, LinesEndInCrLfAndSaveAsCopiesThemUnderTheTypedName) {
    EXPECT_EQ(record.path(), program.filePath("RadedIvu.chs"));
    EXPECT_EQ(record.Record("0B,02"), QString());
    EXPECT_EQ(Contents(record.path()), "0A,01\r\n0B,02\r\n");
    test::Write(current.filePath("game.chs"), "an older copy that is longer than the record\r\n");
    // The extension is added only when the answer has no dot.
    const std::pair<const char*, const char*> names[] = {
        {"game", "game.chs"}, {"game.txt", "game.txt"}, {"game.", "game."}, {"棋譜", "棋譜.chs"}};
    for (const auto& [answer, name] : names) {
        EXPECT_EQ(record.SaveAs(QString::fromUtf8(answer), current.path()), QString());
        EXPECT_EQ(Contents(current.filePath(QString::fromUtf8(name))), "0A,01\r\n0B,02\r\n");
    }
    record.Record("0A,01"); // a second game: the copies stay as they are
    EXPECT_EQ(Contents(current.filePath("game.chs")), "0A,01\r\n0B,02\r\n");
}

// A plain file stands for a folder no file can be made in, whoever runs the test.
TEST_F(GameRecordTest, FailuresAreReportedAndWriteNothing) {
    const QString unwritable = current.filePath("plain");
    test::Write(unwritable, "not a folder");
    GameRecord locked(unwritable);
    EXPECT_FALSE(locked.SaveAs("game", current.path()).isEmpty()); // no record yet
    EXPECT_TRUE(locked.SwitchOn().contains(QDir::toNativeSeparators(locked.path())));
    EXPECT_FALSE(locked.Record("0A,01").isEmpty());
    const std::pair<QString, QString> failing[] = {
        {"missing/game", current.path()}, {".", current.path()}, {"game", unwritable}};
    for (const auto& [answer, folder] : failing)
        EXPECT_FALSE(record.SaveAs(answer, folder).isEmpty()) << answer.toStdString();
    EXPECT_EQ(Contents(record.path()), "0A,01\r\n");
    EXPECT_FALSE(QFile::exists(current.filePath("game.chs")));
    // A pipe in the record's place is refused, not waited on.
    GameRecord piped(current.path());
    ASSERT_EQ(mkfifo(QFile::encodeName(piped.path()).constData(), 0600), 0);
    EXPECT_TRUE(piped.SwitchOn().contains(NotRegularFile()));
    EXPECT_TRUE(piped.Record("0A,01").contains(NotRegularFile()));
}

// Line n of a made-up record (n below 768): one piece on an empty board.
std::string Line(int n) {
    Board board;
    board.set(SquareAt(n % 64), n / 64);
    return WritePosition(board);
}

// A replay window on game.chs, which each Load writes anew; the test plays its board.
class Replay : public ::testing::Test, public ReplayHost {
protected:
    bool mayReplay() override { return true; }
    void showPosition(const std::string& position) override { shown.push_back(position); }
    void showMessage(const QString& text) override { messages.append(text); }
    void Load(const std::string& bytes) {
        test::Write(path, QByteArray::fromStdString(bytes));
        window.LoadFile(path);
    }

    std::vector<std::string> shown;
    QStringList messages;
    QTemporaryDir folder;
    const QString path = folder.filePath("game.chs");
    Form2 window{*this};
};

} // namespace

// Lines end at LF, CR LF or a lone CR, also where a read ends between CR and LF; those that
// are no position are left out, with a message. Every press shows its line anew, also where
// the line stays at the first or the last.
TEST_F(Replay, StepsThroughThePositionsOfTheRecordWithinItsLines) {
    window.LoadFile(folder.filePath("missing.chs")); // reported, nothing to step through
    window.Command3->click();
    EXPECT_TRUE(shown.empty());
    // 0 ended by LF, 1 by a lone CR, an empty line, garbage, a cut line, a line too long to
    // keep whose CR ends the first 64 KiB, then 2, 3 ended by a lone CR, 4 without an end.
    std::string record =
        Line(0) + "\n" + Line(1) + "\r\r\ngarbage\n" + Line(2).substr(0, 100) + "\r\n";
    record += std::string(65535 - record.size(), '0') + "\r\n" + Line(2) + "\n" + Line(3) + "\r" +
              Line(4);
    Load(record);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(" 4 行")) << messages[1].toStdString();
    const std::pair<QPushButton*, int> steps[] = {
        {window.Command3, 2}, {window.Command3, 3}, {window.Command2, 2},
        {window.Command3, 3}, {window.Command3, 4}, {window.Command3, 5},
        {window.Command3, 5}, {window.Command1, 1}, {window.Command2, 1}};
    for (const auto& [button, line] : steps) {
        button->click();
        EXPECT_EQ(window.Label1->text(), QString::number(line));
        EXPECT_EQ(shown.back(), Line(line - 1));
    }
    EXPECT_EQ(shown.size(), 1u + std::size(steps));
    // A record of any length loads whole.
    record.clear();
    for (int i = 0; i < 700; ++i)
        record += Line(i) + "\n";
    Load(record);
    for (int i = 0; i < 701; ++i)
        window.Command3->click();
    EXPECT_EQ(window.Label1->text(), "700");
    EXPECT_EQ(shown.back(), Line(699));
    EXPECT_EQ(messages.size(), 2);
}

// Planted records are refused by the replay and the PGN export alike, at once: what is no
// regular file after following links, and a record over the size cap.
TEST_F(Replay, RefusesWhatIsNoRegularFileAndARecordOverTheCap) {
    ASSERT_EQ(mkfifo(QFile::encodeName(folder.filePath("pipe.chs")).constData(), 0600), 0);
    QFile sparse(folder.filePath("sparse.chs"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(kMaxRecordBytes + 1));
    const std::pair<const char*, QString> planted[] = {{"pipe.chs", {}},
                                                       {"to-pipe.chs", folder.filePath("pipe.chs")},
                                                       {"zero.chs", "/dev/zero"},
                                                       {"loop.chs", folder.filePath("loop.chs")},
                                                       {"sparse.chs", {}}};
    for (const auto& [name, target] : planted) {
        const QString path = folder.filePath(name);
        ASSERT_TRUE(target.isEmpty() || QFile::link(target, path));
        const QString why = name == std::string("sparse.chs")
                                ? "棋譜ファイルとして読み込めるのは 32 MiB までです。"
                                : "通常のファイルではありません。";
        messages.clear();
        EXPECT_FALSE(window.LoadFile(path));
        EXPECT_EQ(messages, QStringList{"棋譜ファイル「" + path + "」を開けません。\n" + why});
        EXPECT_EQ(ReadRecordAsPgn(path).failure,
                  "棋譜ファイル「" + path + "」を読み込めません。\n" + why);
    }
    EXPECT_TRUE(shown.empty());
    GameRecord zero(folder.path()); // its running record a link to /dev/zero
    ASSERT_TRUE(QFile::link("/dev/zero", zero.path()));
    EXPECT_TRUE(zero.SaveAs("copy", folder.path()).endsWith("通常のファイルではありません。"));
}
