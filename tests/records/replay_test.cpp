#include "records/form2.h"
#include "records/recordfile.h"
#include "rules/position.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace quorin;

namespace {

const std::string kStart = WritePosition(*ReadPosition(InitialPosition));

// The n-th position of a made-up record: the start position with one pawn moved.
std::string Position(int n) {
    Board board = *ReadPosition(InitialPosition);
    board.set({n % 8, 6}, kEmptyCode);
    board.set({n % 8, 5 - (n / 8) % 4}, 0);
    return WritePosition(board);
}

struct ShownOnBoard : ReplayHost {
    void showPosition(const std::string& position) override { shown.push_back(position); }
    void showMessage(const QString& text) override { messages.append(text); }
    std::vector<std::string> shown;
    QStringList messages;
};

class Replay : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = folder.filePath(QStringLiteral("game.chs"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }
    QString WriteLines(int count) {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes += QByteArray::fromStdString(Position(i)) + "\r\n";
        return Write(bytes);
    }
    void Load(const QString& path) {
        window.ExFile = path;
        window.LoadFile(path);
    }

    QTemporaryDir folder;
    ShownOnBoard host;
    Form2 window{host};
};

} // namespace

TEST(RecordFile, LinesEndAtCrLfOrCrAndOnlyPositionsAreKept) {
    const QByteArray start = QByteArray::fromStdString(kStart);
    RecordFile read = ReadRecordFile(start + "\r\n" + start + "\r" + start);
    EXPECT_EQ(read.positions.size(), 3u);
    EXPECT_EQ(read.skipped, 0);
    read = ReadRecordFile(start + "\r\n\r\n" + "garbage\r\n" + start.left(100) + "\r\n" + start +
                          "\r\n");
    EXPECT_EQ(read.positions, (std::vector<std::string>{kStart, kStart}));
    EXPECT_EQ(read.skipped, 3);
    EXPECT_TRUE(ReadRecordFile("").positions.empty());
    // A lone LF is no line end: the line holding it is no position.
    EXPECT_EQ(ReadRecordFile(start + "\n" + start).skipped, 1);
}

TEST_F(Replay, StepsThroughTheRecordInAnyOrder) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("PLAY"));
    Load(WriteLines(5));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("PLAY:game.chs"));
    EXPECT_EQ(window.Label1->text(), QStringLiteral("1"));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown.back(), Position(0));

    struct Step {
        QPushButton* button;
        int line; // shown afterwards, from 1
    };
    const Step steps[] = {{window.Command3, 2}, {window.Command3, 3}, {window.Command2, 2},
                          {window.Command3, 3}, {window.Command3, 4}, {window.Command3, 5},
                          {window.Command3, 5}, {window.Command1, 1}, {window.Command2, 1}};
    for (const Step& step : steps) {
        step.button->click();
        EXPECT_EQ(window.Label1->text(), QString::number(step.line));
        EXPECT_EQ(host.shown.back(), Position(step.line - 1));
    }
    // Every press redraws, even where the line stays.
    EXPECT_EQ(host.shown.size(), 1u + std::size(steps));
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(Replay, RecordsOfAnyLengthLoadWhole) {
    for (int count : {1, 301, 302, 1000}) {
        Load(WriteLines(count));
        EXPECT_EQ(window.LastLine(), count - 1);
        for (int i = 0; i < count + 2; ++i)
            window.Command3->click();
        EXPECT_EQ(window.Label1->text(), QString::number(count));
        EXPECT_EQ(host.shown.back(), Position(count - 1));
    }
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(Replay, BadFilesAreReportedAndNeverShown) {
    Load(folder.filePath(QStringLiteral("missing.chs")));
    EXPECT_EQ(host.messages.size(), 1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("PLAY:missing.chs"));
    window.Command3->click();
    window.Command1->click();

    Load(Write(""));
    EXPECT_EQ(host.messages.size(), 2);
    Load(Write("this is no record\r\n0C,0C\r\n"));
    EXPECT_EQ(host.messages.size(), 3);
    EXPECT_TRUE(host.shown.empty());

    // Malformed lines in a record are left out, with one message; the rest replays.
    Load(Write(QByteArray::fromStdString(Position(0)) + "\r\n07,08,0D\r\n" +
               QByteArray::fromStdString(Position(1)) + "\r\n"));
    EXPECT_EQ(host.messages.size(), 4);
    EXPECT_EQ(window.LastLine(), 1);
    window.Command3->click();
    EXPECT_EQ(host.shown, (std::vector<std::string>{Position(0), Position(1)}));
}
