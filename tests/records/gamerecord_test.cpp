#include "records/gamerecord.h"
#include "records/savename.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace quorin;
using quorin::test::Contents;
using quorin::test::Write;

namespace {

// A record line as the game writes it: 64 two-digit hex fields, one per square.
QByteArray Line(int seed) {
    QByteArrayList fields;
    for (int square = 0; square < 64; ++square)
        fields << QByteArray::number((square + seed) % 13, 16).toUpper().rightJustified(2, '0');
    return fields.join(',');
}

// A folder no file can be made in. Permissions do not bind root, so when a read-only folder
// still takes files, a regular file stands in for the folder instead.
QString UnwritableFolder(const QTemporaryDir& dir) {
    const QString folder = dir.filePath("locked");
    QDir().mkdir(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFile probe(folder + "/probe"); !probe.open(QIODevice::WriteOnly))
        return folder;
    QDir(folder).removeRecursively();
    const QString file = dir.filePath("plain");
    Write(file, "not a folder");
    return file;
}

class GameRecordTest : public ::testing::Test {
protected:
    QTemporaryDir program, current;
    GameRecord record{program.path()};
};

TEST_F(GameRecordTest, SwitchOnEmptiesOrCreatesTheRecordAndRecordingStaysOn) {
    EXPECT_EQ(record.path(), program.filePath("RadedIvu.chs"));
    EXPECT_FALSE(record.RecordAll());
    Write(record.path(), Line(1) + "\r\n");
    EXPECT_EQ(record.SwitchOn(), QString());
    EXPECT_TRUE(QFile::exists(record.path()));
    EXPECT_EQ(QFile(record.path()).size(), 0);

    GameRecord fresh(current.path());
    EXPECT_EQ(fresh.SwitchOn(), QString());
    EXPECT_TRUE(QFile::exists(fresh.path()));
    EXPECT_EQ(QFile(fresh.path()).size(), 0);
    fresh.Record(Line(2));
    EXPECT_TRUE(fresh.RecordAll());
}

TEST_F(GameRecordTest, LinesOfTwoGamesFollowOneAnotherEachEndingInCrLf) {
    record.SwitchOn();
    QByteArray expected;
    for (int seed : {0, 1, 2, 0, 5}) { // a game of three positions, then the next game
        ASSERT_EQ(record.Record(Line(seed)), QString());
        expected += Line(seed) + "\r\n";
        EXPECT_EQ(Contents(record.path()), expected);
    }
}

struct NameCase {
    const char* answer;
    const char* name;
};

class SaveAsNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SaveAsNameTest, ExtensionOnlyWhenTheAnswerHasNoDot) {
    EXPECT_EQ(SaveAsName(GetParam().answer), QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveAsNameTest,
                         ::testing::Values(NameCase{"game", "game.chs"},
                                           NameCase{"game.txt", "game.txt"},
                                           NameCase{"game.", "game."}, NameCase{"a.b", "a.b"},
                                           NameCase{"memo.CHS", "memo.CHS"},
                                           NameCase{"棋譜", "棋譜.chs"}));

TEST_F(GameRecordTest, SaveAsCopiesTheRecordAndRecordingGoesOn) {
    record.SwitchOn();
    record.Record(Line(1));
    record.Record(Line(2));
    const QByteArray running = Contents(record.path());
    Write(current.filePath("game.chs"), "an older copy that is longer than the record\r\n");

    EXPECT_EQ(record.SaveAs("game", current.path()), QString());
    EXPECT_EQ(Contents(current.filePath("game.chs")), running);
    EXPECT_EQ(Contents(record.path()), running);
    EXPECT_EQ(record.SaveAs(current.filePath("abs.txt"), program.path()), QString());
    EXPECT_EQ(Contents(current.filePath("abs.txt")), running);

    EXPECT_EQ(record.SaveAs("", current.path()), QString());
    EXPECT_EQ(QDir(current.path()).entryList(QDir::Files).size(), 2);
    record.Record(Line(3));
    EXPECT_EQ(Contents(record.path()), running + Line(3) + "\r\n");
    EXPECT_EQ(Contents(current.filePath("game.chs")), running);
}

TEST_F(GameRecordTest, WritingInAnUnwritableFolderIsReportedAndRecordingStaysOn) {
    GameRecord locked(UnwritableFolder(program));
    const QString error = locked.SwitchOn();
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(locked.path()))) << error.toStdString();
    EXPECT_TRUE(locked.RecordAll());
    EXPECT_FALSE(locked.Record(Line(1)).isEmpty());
    EXPECT_FALSE(locked.AppendRecord(GameRecord::kFileName, Line(1)).isEmpty());
}

TEST_F(GameRecordTest, SaveAsFailuresAreReportedAndWriteNothing) {
    EXPECT_FALSE(record.SaveAs("game", current.path()).isEmpty()); // no record yet
    EXPECT_FALSE(QFile::exists(current.filePath("game.chs")));

    record.SwitchOn();
    record.Record(Line(1));
    const std::pair<QString, QString> failing[] = {
        {"missing/game", current.path()}, // a folder that does not exist
        {".", current.path()},            // the folder itself, no file name
        {"game", UnwritableFolder(current)}};
    for (const auto& [answer, folder] : failing)
        EXPECT_FALSE(record.SaveAs(answer, folder).isEmpty()) << answer.toStdString();
    EXPECT_EQ(Contents(record.path()), Line(1) + "\r\n");
    EXPECT_FALSE(QFile::exists(current.filePath("missing/game.chs")));
}

} // namespace
