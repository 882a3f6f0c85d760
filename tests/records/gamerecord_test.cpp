#include "records/gamerecord.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace quorin;
using quorin::test::Contents;
using quorin::test::Write;

namespace {

class GameRecordTest : public ::testing::Test {
protected:
    QTemporaryDir program, current;
    GameRecord record{program.path()};
};

TEST_F(GameRecordTest, SwitchOnEmptiesTheRecordAndLinesFollowEachEndingInCrLf) {
    EXPECT_EQ(record.path(), program.filePath("RadedIvu.chs"));
    EXPECT_FALSE(record.RecordAll());
    Write(record.path(), "an older game\r\n");
    EXPECT_EQ(record.SwitchOn(), QString());
    EXPECT_EQ(Contents(record.path()), QByteArray());
    QByteArray expected;
    for (const char* line : {"0A,01", "0B,02", "0C,03", "0A,01", "0D,04"}) { // two games
        ASSERT_EQ(record.Record(line), QString());
        expected += QByteArray(line) + "\r\n";
        EXPECT_EQ(Contents(record.path()), expected);
    }
    EXPECT_TRUE(record.RecordAll());

    GameRecord fresh(current.path()); // no record file yet
    EXPECT_EQ(fresh.SwitchOn(), QString());
    EXPECT_TRUE(QFile::exists(fresh.path()));
    EXPECT_EQ(QFile(fresh.path()).size(), 0);
}

TEST_F(GameRecordTest, SaveAsCopiesTheRecordUnderTheTypedNameAndRecordingGoesOn) {
    record.SwitchOn();
    record.Record("0A,01");
    record.Record("0B,02");
    const QByteArray running = "0A,01\r\n0B,02\r\n";
    Write(current.filePath("game.chs"), "an older copy that is longer than the record\r\n");
    // The extension is added only when the answer has no dot.
    const std::pair<const char*, const char*> names[] = {
        {"game", "game.chs"}, {"game.txt", "game.txt"}, {"game.", "game."},
        {"a.b", "a.b"},       {"memo.CHS", "memo.CHS"}, {"棋譜", "棋譜.chs"}};
    for (const auto& [answer, name] : names) {
        EXPECT_EQ(record.SaveAs(QString::fromUtf8(answer), current.path()), QString());
        EXPECT_EQ(Contents(current.filePath(QString::fromUtf8(name))), running) << name;
    }
    record.Record("0C,03");
    EXPECT_EQ(Contents(record.path()), running + "0C,03\r\n");
    EXPECT_EQ(Contents(current.filePath("game.chs")), running);
}

TEST_F(GameRecordTest, FailuresAreReportedAndWriteNothing) {
    EXPECT_FALSE(record.SaveAs("game", current.path()).isEmpty()); // no record yet
    EXPECT_FALSE(QFile::exists(current.filePath("game.chs")));

    // A plain file stands for a folder no file can be made in, whoever runs the test.
    const QString unwritable = current.filePath("plain");
    Write(unwritable, "not a folder");
    GameRecord locked(unwritable);
    const QString error = locked.SwitchOn();
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(locked.path()))) << error.toStdString();
    EXPECT_TRUE(locked.RecordAll());
    EXPECT_FALSE(locked.Record("0A,01").isEmpty());

    record.SwitchOn();
    record.Record("0A,01");
    const std::pair<QString, QString> failing[] = {
        {"missing/game", current.path()}, {".", current.path()}, {"game", unwritable}};
    for (const auto& [answer, folder] : failing)
        EXPECT_FALSE(record.SaveAs(answer, folder).isEmpty()) << answer.toStdString();
    EXPECT_EQ(Contents(record.path()), "0A,01\r\n");
    EXPECT_FALSE(QFile::exists(current.filePath("missing/game.chs")));
}

} // namespace
