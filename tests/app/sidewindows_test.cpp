// The side windows: a real game's records exported as PGN, saved under a name and
// replayed on the main board; text files in the memo pad.

#include "twocopies.h"

#include "records/form2.h"
#include "records/form3.h"
#include "records/form4.h"
#include "rules/position.h"
#include "support/files.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>

using namespace quorin;
using test::Contents;
using test::Copy;
using test::WaitFor;

namespace {

class SideWindows : public test::TwoCopies {};

// Chooses `item` and answers the file chooser it opens, with `name` (if any) clicked in it;
// null when none opens (closed ones go only when the main loop next runs).
Form3* Open(Copy& copy, QAction* item, const QString& name = {}) {
    item->trigger();
    Form3* shown = nullptr;
    for (Form3* chooser : copy.window.findChildren<Form3*>())
        shown = chooser->isVisible() ? chooser : shown;
    if (shown && !name.isEmpty()) {
        const auto found = shown->File1->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        for (QListWidgetItem* item : found)
            shown->File1_Click(item);
    }
    return shown;
}

} // namespace

TEST_F(SideWindows, AGamesRecordsAreExportedSavedAndReplayed) {
    Connect();
    server.window.mnuVSave_Click();
    client.window.mnuVSave_Click();
    Play(server, "e2", "e4");
    Play(client, "d7", "d5");
    Play(server, "e4", "d5");
    // Both records export as the same moves, still connected, where the records are; a file
    // already there is replaced only on a yes.
    test::Write(QDir(server.env.programFolder()).filePath("game.pgn"), "older");
    for (const auto& [copy, yes] : {std::pair{&server, false}, {&server, true}, {&client, false}}) {
        copy->env.seams().answers = {QStringLiteral("game")};
        copy->env.seams().yesNo = {yes};
        Form3* chooser = Open(*copy, copy->window.menu().mnuPgn, QStringLiteral("RadedIvu.chs"));
        ASSERT_NE(chooser, nullptr);
        chooser->Command2->click();
        const QByteArray pgn = Contents(QDir(copy->env.programFolder()).filePath("game.pgn"));
        EXPECT_TRUE(yes || copy == &client ? pgn.endsWith("\n\n1. e4 d5 2. exd5 *\n\n")
                                           : pgn == "older");
    }
    EXPECT_EQ(client.env.seams().questions.size() + server.env.seams().questions.size(), 2);

    // While connected, replay is refused and no chooser opens.
    const QString refused = QStringLiteral("通信を切断しなければ実行できません。");
    EXPECT_EQ(Open(server, server.window.menu().mnuPlay), nullptr);
    EXPECT_EQ(server.messages(), QStringList{refused});

    // Saved under a bare name, beside the running record, over a file there only on a yes; a
    // cancelled name saves nothing.
    server.window.mnuClose_Click();
    const QString saved = QDir(server.env.programFolder()).filePath("saved.chs");
    test::Write(saved, "older");
    server.env.seams().answers = {QStringLiteral("saved"), QStringLiteral("saved"), QString()};
    server.env.seams().yesNo = {false, true};
    server.window.menu().mnuSave->trigger();
    EXPECT_EQ(Contents(saved), "older");
    server.window.menu().mnuSave->trigger();
    server.window.menu().mnuSave->trigger();
    const QByteArray running = Contents(server.window.record().path());
    EXPECT_EQ(Contents(saved), running);
    EXPECT_EQ(server.env.seams().questions.value(3),
              QStringLiteral("同じ名前のファイルがすでにあります。置き換えますか？\n") + saved);
    EXPECT_EQ(QDir(server.env.programFolder()).entryList({"*.chs"}).size(), 2);
    const QStringList record = QString::fromLatin1(running).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(record.size(), 3);

    // The chooser is a tool window that Esc does not close.
    Form3* chooser = Open(server, server.window.menu().mnuPlay, QStringLiteral("saved.chs"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->windowType(), Qt::Tool);
    QTest::keyClick(chooser->File1, Qt::Key_Escape);
    EXPECT_TRUE(chooser->isVisible());
    chooser->Command2->click();
    Form2* replay = server.window.form2();
    ASSERT_TRUE(replay && replay->isVisible());
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

    // A game starts while it is open: stepping is refused and the board stays; after the
    // game stepping works again.
    Connect();
    const Board inGame = server.game().board;
    for (QPushButton* button : {replay->Command1, replay->Command2, replay->Command3})
        button->click();
    EXPECT_EQ(server.game().board, inGame);
    EXPECT_EQ(server.messages(), QStringList(4, refused));
    server.window.mnuClose_Click();
    replay->Command3->click();
    EXPECT_TRUE(shows(3));

    // A listening server may replay. The chooser kept the name clicked before: typed over,
    // the name box shows it. Closed with its close box, it replays the same record again,
    // with ">" in the focus again.
    replay->Command1->setFocus();
    replay->close();
    server.window.mnuServer_Click();
    Form3* again = Open(server, server.window.menu().mnuPlay);
    ASSERT_NE(again, nullptr);
    QTest::keyClicks(again->Text1, "x");
    EXPECT_EQ(again->Text1->text(), QStringLiteral("saved.chs"));
    again->close();
    EXPECT_TRUE(replay->isVisible() && shows(1));
    EXPECT_EQ(replay->focusWidget(), replay->Command3);
}

// A text file opens in the memo pad; one it cannot read is told in a box above the memo
// pad, not behind it.
TEST(MemoPad, OpensATextFileAndTellsOfOneItCannotReadAboveIt) {
    Copy copy(0, true);
    copy.window.show();
    const QDir work(copy.env.workingFolder());
    test::Write(work.filePath(QStringLiteral("memo.txt")), "first\r\nsecond\r\n");
    Form3* chooser = Open(copy, copy.window.menu().nmuFileOpen, QStringLiteral("memo.txt"));
    ASSERT_NE(chooser, nullptr);
    chooser->Command1->click();
    Form4* memo = copy.window.findChild<Form4*>();
    ASSERT_TRUE(memo && memo->isVisible());
    EXPECT_EQ(memo->Text1->toPlainText(), QStringLiteral("first\nsecond"));
    QFile huge(work.filePath(QStringLiteral("huge.txt")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024));
    chooser = Open(copy, copy.window.menu().nmuFileOpen, QStringLiteral("huge.txt"));
    ASSERT_NE(chooser, nullptr);
    chooser->Command1->click();
    ASSERT_TRUE(WaitFor([&] { return !copy.messages().isEmpty(); }));
    EXPECT_NE(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr);
}
