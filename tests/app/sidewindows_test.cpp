// The side windows opened from the main window's menus: a record written by a real game
// replayed on the main board and exported as PGN, and a text file opened in the memo pad.

#include "twocopies.h"

#include "records/form2.h"
#include "records/form3.h"
#include "records/form4.h"
#include "records/pgnfile.h"
#include "rules/position.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>

using namespace quorin;
using test::Contents;
using test::Copy;
using test::WaitFor;

namespace {

class SideWindows : public test::TwoCopies {};

// The chooser on screen (closed ones go only when the main loop next runs).
Form3* Chooser(Copy& copy) {
    Form3* shown = nullptr;
    WaitFor([&] {
        for (Form3* chooser : copy.window.findChildren<Form3*>())
            shown = chooser->isVisible() ? chooser : shown;
        return shown != nullptr;
    });
    return shown;
}

void Choose(Form3* chooser, const QString& name) {
    const auto found = chooser->File1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    chooser->File1->setCurrentItem(found.first());
    chooser->File1_Click(found.first());
}

} // namespace

TEST_F(SideWindows, ARecordedGameReplaysOnTheMainBoard) {
    Connect();
    server.window.mnuVSave_Click();
    Move(server, {4, 6}, {4, 4});
    ASSERT_TRUE(Arrived(client, server, 1));
    Move(client, {3, 6}, {3, 4});
    ASSERT_TRUE(Arrived(server, client, 2));
    Move(server, {6, 7}, {5, 5});
    ASSERT_TRUE(Arrived(client, server, 3));

    // While connected, replay is refused and no chooser opens.
    server.window.menu().mnuPlay->trigger();
    EXPECT_EQ(server.messages().last(), QStringLiteral("通信を切断しなければ実行できません。"));
    EXPECT_EQ(server.window.findChild<Form3*>(), nullptr);

    server.window.mnuClose_Click();
    server.env.seams().answers = {QStringLiteral("game")};
    server.window.menu().mnuSave->trigger();
    const QStringList record = QString::fromLatin1(Contents(server.window.record().path()))
                                   .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(record.size(), 3);

    server.window.menu().mnuPlay->trigger();
    Form3* chooser = Chooser(server);
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->Command2->isVisible());
    Choose(chooser, QStringLiteral("game.chs"));
    chooser->Command2->click();

    Form2* replay = server.window.form2();
    ASSERT_NE(replay, nullptr);
    ASSERT_TRUE(WaitFor([&] { return replay->isVisible(); }));
    EXPECT_EQ(replay->windowTitle(), QStringLiteral("PLAY:game.chs"));
    const auto shows = [&](int line) {
        return replay->Label1->text() == QString::number(line) &&
               server.game().board == *ReadPosition(record[line - 1].toStdString());
    };
    EXPECT_TRUE(shows(1));
    // ">" has the focus and Enter presses it; Esc closes nothing.
    QTest::keyClick(replay->focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(shows(2));
    QTest::keyClick(replay->focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(replay->isVisible());
    // Any order of presses shows the line it names, drawn on the main board.
    QPushButton* const buttons[] = {nullptr, replay->Command1, replay->Command2, replay->Command3};
    const std::pair<int, int> presses[] = {{3, 3}, {3, 3}, {2, 2}, {1, 1}, {2, 1}, {3, 2}};
    for (auto [button, line] : presses) {
        buttons[button]->click();
        EXPECT_TRUE(shows(line)) << "Command" << button << " to line " << line;
    }
    const QImage shown = server.window.renderer().BackBuffer().copy();
    server.window.renderer().DrawBoard(server.game().board);
    EXPECT_EQ(server.window.renderer().BackBuffer(), shown);
    // The replay window no longer holds the main window: a move can be tried on the board.
    EXPECT_EQ(replay->windowModality(), Qt::NonModal);

    // A game starts while it is open: stepping is refused and the board stays; after the
    // game stepping works again.
    Connect();
    const Board inGame = server.game().board;
    const qsizetype said = server.messages().size();
    for (QPushButton* button : {replay->Command1, replay->Command2, replay->Command3})
        button->click();
    EXPECT_EQ(server.game().board, inGame);
    EXPECT_EQ(replay->Label1->text(), QStringLiteral("2"));
    EXPECT_EQ(server.messages().mid(said),
              QStringList(3, QStringLiteral("通信を切断しなければ実行できません。")));
    server.window.mnuClose_Click();
    replay->Command3->click();
    EXPECT_TRUE(shows(3));

    // Closing the chooser with its close box replays the same record again, with ">" in
    // the focus again. The chooser kept the name clicked before: typed over, the name box
    // shows it.
    replay->Command1->setFocus();
    replay->close();
    server.window.menu().mnuPlay->trigger();
    Form3* again = Chooser(server);
    ASSERT_NE(again, nullptr);
    QTest::keyClicks(again->Text1, "x");
    EXPECT_EQ(again->Text1->text(), QStringLiteral("game.chs"));
    again->close();
    ASSERT_TRUE(WaitFor([&] { return replay->isVisible(); }));
    EXPECT_TRUE(shows(1));
    EXPECT_EQ(replay->focusWidget(), replay->Command3);
}

TEST_F(SideWindows, AListeningServerMayReplay) {
    server.window.mnuServer_Click();
    server.window.menu().mnuPlay->trigger();
    Form3* chooser = Chooser(server);
    ASSERT_NE(chooser, nullptr);
    chooser->Command2->click(); // nothing chosen: no replay window
    EXPECT_EQ(server.window.form2()->isVisible(), false);
}

TEST_F(SideWindows, ATextFileOpensInTheMemoPad) {
    const QString path = QDir(server.env.workingFolder()).filePath(QStringLiteral("memo.txt"));
    test::Write(path, "first\r\nsecond\r\n");
    server.window.menu().nmuFileOpen->trigger();
    Form3* chooser = Chooser(server);
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->Command1->isVisible());
    chooser->Command1->click(); // nothing chosen yet
    EXPECT_EQ(server.messages().last(), QStringLiteral("ファイルを指定してください。"));
    Choose(chooser, QStringLiteral("memo.txt"));
    chooser->Command1->click();

    Form4* memo = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (memo = server.window.findChild<Form4*>()) && memo->isVisible(); }));
    EXPECT_EQ(memo->FileN, path);
    EXPECT_EQ(memo->Text1->toPlainText(), QStringLiteral("first\nsecond"));
    EXPECT_TRUE(memo->windowTitle().endsWith(QStringLiteral("=2")));
    EXPECT_FALSE(chooser->isVisible());
}

// A file the memo pad cannot read is told in a box above the memo pad, not behind it.
TEST(MemoPad, AFileItCannotReadIsToldAboveIt) {
    Copy copy(0, true);
    copy.window.show();
    QFile huge(QDir(copy.env.workingFolder()).filePath(QStringLiteral("huge.txt")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024));
    copy.window.menu().nmuFileOpen->trigger();
    Form3* chooser = Chooser(copy);
    ASSERT_NE(chooser, nullptr);
    Choose(chooser, QStringLiteral("huge.txt"));
    chooser->Command1->click();
    ASSERT_TRUE(WaitFor([&] { return copy.window.findChild<Form4*>() != nullptr; }));
    ASSERT_EQ(copy.messages().size(), 1);
    EXPECT_NE(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr);
}

TEST_F(SideWindows, BothRecordsOfAGameExportAsTheSameMoves) {
    Connect();
    server.window.mnuVSave_Click();
    client.window.mnuVSave_Click();
    const char* moves[] = {"h2h4", "g7g5", "h4g5", "h7h6", "g5h6", "f8g7", "h6g7", "g8f6",
                           "g7h8", "f6g8", "g1f3", "a7a6", "e2e3", "a6a5", "f1e2", "a5a4"};
    for (int number = 1; const std::string move : moves) {
        const bool first = number % 2;
        Copy& mover = first ? server : client;
        const auto view = first ? test::ServerView : test::ClientView;
        const Square from = view(move.c_str()), to = view(move.c_str() + 2);
        if (move == "g7h8") // a promotion, made with the mouse
            mover.drag(from, mover.center(to));
        else
            Move(mover, from, to);
        ASSERT_TRUE(Arrived(first ? client : server, mover, number++)) << move;
    }
    server.window.menu().nmuCastlingRight->trigger();
    ASSERT_TRUE(Arrived(client, server, 17));

    // Exported from each side's record while still connected.
    QByteArray games[2];
    for (Copy* copy : {&server, &client}) {
        copy->env.seams().answers = {QStringLiteral("game")};
        copy->window.menu().mnuPgn->trigger();
        Form3* chooser = Chooser(*copy);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(chooser->Command2->isVisible());
        // The chooser starts where the records are, and the export goes there too.
        EXPECT_EQ(chooser->folder(), copy->env.programFolder());
        Choose(chooser, QStringLiteral("RadedIvu.chs"));
        chooser->Command2->click();
        const QString path = QDir(copy->env.programFolder()).filePath(QStringLiteral("game.pgn"));
        ASSERT_TRUE(WaitFor([&] { return QFile::exists(path); }));
        EXPECT_EQ(copy->env.seams().prompts.last(), PgnPrompt());
        const QByteArray pgn = Contents(path);
        games[copy == &client] = pgn.mid(pgn.indexOf("\n\n"));
        EXPECT_FALSE(pgn.contains("[FEN"));
    }
    EXPECT_EQ(games[0],
              "\n\n1. h4 g5 2. hxg5 h6 3. gxh6 Bg7 4. hxg7 Nf6 5. gxh8=Q+ Ng8 6. Nf3 a6 7. e3 a5\n"
              "8. Be2 a4 9. O-O *\n\n");
    EXPECT_EQ(games[1], games[0]);
}
