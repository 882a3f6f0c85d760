#include "records/form2.h"
#include "records/recordfile.h"
#include "rules/position.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace quorin;

namespace {

// The n-th position of a made-up record: the start position with one pawn moved.
std::string Position(int n) {
    Board board = *ReadPosition(InitialPosition);
    board.set({n % 8, 6}, kEmptyCode);
    board.set({n % 8, 5 - (n / 8) % 4}, 0);
    return WritePosition(board);
}

QByteArray Line(int n) {
    return QByteArray::fromStdString(Position(n));
}

QByteArray Lines(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += Line(i) + "\r\n";
    return bytes;
}

// A replay window on game.chs, which each Load writes anew; the test plays its board.
class Replay : public ::testing::Test, public ReplayHost {
protected:
    bool mayReplay() override { return true; }
    void showPosition(const std::string& position) override { shown.push_back(position); }
    void showMessage(const QString& text) override { messages.append(text); }
    void Load(const QByteArray& bytes) {
        test::Write(path, bytes);
        window.LoadFile(path);
    }

    std::vector<std::string> shown;
    QStringList messages;
    QTemporaryDir folder;
    const QString path = folder.filePath("game.chs");
    Form2 window{*this};
};

} // namespace

TEST(RecordFile, LinesEndAtCrLfOrCrAndOnlyPositionsAreKept) {
    // 0, 1 ended by a lone CR, empty, garbage, cut, 3 and 4 joined by a lone LF, 5 unended.
    const RecordFile read =
        ReadRecordFile(Line(0) + "\r\n" + Line(1) + "\r\r\ngarbage\r\n" + Line(2).left(100) +
                       "\r\n" + Line(3) + "\n" + Line(4) + "\r\n" + Line(5));
    EXPECT_EQ(read.positions, (std::vector{Position(0), Position(1), Position(5)}));
    EXPECT_EQ(read.skipped, 4);
}

TEST_F(Replay, StepsThroughTheRecordInAnyOrderRedrawingAtEveryPress) {
    Load(Lines(5));
    EXPECT_EQ(window.Label1->text(), "1");
    EXPECT_EQ(shown, std::vector{Position(0)});
    // A button, then the line shown from 1.
    const std::pair<QPushButton*, int> steps[] = {
        {window.Command3, 2}, {window.Command3, 3}, {window.Command2, 2},
        {window.Command3, 3}, {window.Command3, 4}, {window.Command3, 5},
        {window.Command3, 5}, {window.Command1, 1}, {window.Command2, 1}};
    for (const auto& [button, line] : steps) {
        button->click();
        EXPECT_EQ(window.Label1->text(), QString::number(line));
        EXPECT_EQ(shown.back(), Position(line - 1));
    }
    EXPECT_EQ(shown.size(), 1u + std::size(steps)); // also where the line stays
}

TEST_F(Replay, RecordsOfAnyLengthLoadWhole) {
    for (int count : {1, 301, 302, 1000}) {
        Load(Lines(count));
        for (int i = 0; i < count + 2; ++i)
            window.Command3->click();
        EXPECT_EQ(window.Label1->text(), QString::number(count));
        EXPECT_EQ(shown.back(), Position(count - 1));
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Replay, BadFilesAreReportedAndNeverShown) {
    window.LoadFile(folder.filePath("missing.chs"));
    EXPECT_EQ(messages.size(), 1);
    window.Command3->click();
    window.Command1->click();
    Load("");
    EXPECT_EQ(messages.size(), 2);
    Load("this is no record\r\n0C,0C\r\n");
    EXPECT_EQ(messages.size(), 3);
    EXPECT_TRUE(shown.empty());

    // Malformed lines in a record are left out, with one message; the rest replays.
    Load(Line(0) + "\r\n07,08,0D\r\n" + Line(1) + "\r\n");
    EXPECT_EQ(messages.size(), 4);
    EXPECT_EQ(window.LastLine(), 1);
    window.Command3->click();
    EXPECT_EQ(shown, (std::vector{Position(0), Position(1)}));
}
