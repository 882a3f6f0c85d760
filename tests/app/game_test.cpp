// A whole game between two copies, played with the mouse on their boards and with their
// menus, from the first move to the capture of a king. The server moves by two clicks,
// the client by dragging.

#include "twocopies.h"

#include "board/clocks.h"
#include "rules/position.h"

#include <QMenu>

using namespace quorin;
using test::ClientView;
using test::Copy;
using test::SeenFromTheOtherSide;
using test::ServerView;
using test::WaitFor;

namespace {

class Game : public test::TwoCopies {
protected:
    void Drag(Copy& copy, Square from, Square to) { copy.drag(from, copy.center(to)); }
    void Click(Copy& copy, Square from, Square to) {
        copy.click(from);
        ASSERT_EQ(copy.window.moveInput().Selected(), from);
        copy.click(to);
        EXPECT_FALSE(copy.window.moveInput().Selected());
    }

    // A move by mouse that the peer takes over; checks both sides afterwards.
    void Play(Copy& mover, Copy& peer, const char* from, const char* to) {
        const auto view = &mover == &server ? ServerView : ClientView;
        const int number = mover.game().MoveNumber + 1;
        const int sounds = mover.env.seams().soundPlays;
        if (&mover == &server)
            Click(mover, view(from), view(to));
        else
            Drag(mover, view(from), view(to));
        ASSERT_EQ(mover.game().MoveNumber, number) << from << "-" << to << " was not made";
        EXPECT_EQ(mover.env.seams().soundPlays, sounds + 1);
        EXPECT_FALSE(mover.game().MyTurn);
        ASSERT_TRUE(Arrived(peer, mover, number)) << from << "-" << to;
        ExpectTurnPassed(mover, peer, number);
    }

    void ExpectTurnPassed(Copy& mover, Copy& peer, int number) {
        EXPECT_TRUE(SeenFromTheOtherSide(mover.game().board, peer.game().board));
        EXPECT_TRUE(peer.game().MyTurn);
        EXPECT_EQ(peer.window.Text1->text(), QStringLiteral("あなたの番"));
        EXPECT_EQ(mover.window.Text1->text(), QStringLiteral("相手は考え中"));
        EXPECT_TRUE(mover.window.Command5->isEnabled());
        const QString side = QStringLiteral(":第 %1手").arg(number);
        EXPECT_EQ(server.window.windowTitle(), QStringLiteral("Quorin：あなた=先手") + side);
        EXPECT_EQ(client.window.windowTitle(), QStringLiteral("Quorin：あなた=後手") + side);
    }
};

} // namespace

TEST_F(Game, FromTheFirstMoveToTheCaptureOfAKing) {
    Connect();
    const MainMenu& sm = server.window.menu();
    const MainMenu& cm = client.window.menu();
    client.window.mnuAis_Click(0);
    ASSERT_TRUE(WaitFor(
        [&] { return server.window.Text2->text() == QStringLiteral("宜しくお願いします。"); }));

    Play(server, client, "e2", "e4");
    EXPECT_EQ(server.window.clocks().Timer1.interval(), Clocks::kGameInterval);
    EXPECT_EQ(client.window.clocks().Timer1.interval(), Clocks::kGameInterval);
    EXPECT_FALSE(sm.nmuCastling->menuAction()->isEnabled());
    EXPECT_TRUE(cm.nmuCastling->menuAction()->isEnabled());
    Play(client, server, "e7", "e5");
    Play(server, client, "g1", "f3");
    Play(client, server, "g8", "f6");
    Play(server, client, "f1", "c4");
    Play(client, server, "f8", "c5");

    // The first player castles towards column 7; its board picture is drawn anew, once.
    sm.nmuCastlingRight->trigger();
    ASSERT_TRUE(Arrived(client, server, 7));
    ExpectTurnPassed(server, client, 7);
    EXPECT_EQ(server.game().board.name(ServerView("g1")), "ki1");
    EXPECT_EQ(server.game().board.name(ServerView("f1")), "ru1");
    EXPECT_EQ(server.game().PositionString, WritePosition(server.game().board));
    const QImage castled = server.window.renderer().BackBuffer().copy();
    server.window.renderer().DrawBoard(server.game().board);
    EXPECT_EQ(server.window.renderer().BackBuffer(), castled);
    EXPECT_FALSE(sm.nmuCastling->menuAction()->isEnabled());
    ASSERT_TRUE(
        WaitFor([&] { return client.messages().contains(QStringLiteral("キャスリング")); }));

    // Chat both ways; a press while the acknowledgement is outstanding lifts nothing.
    client.window.Text2->setText(QStringLiteral("いい勝負ですね: 続けましょう"));
    QTest::mouseClick(client.window.Command5, Qt::LeftButton);
    EXPECT_FALSE(client.window.Command5->isEnabled());
    const QPoint h7 = client.center(ClientView("h7"));
    QTest::mousePress(&client.window.boardWidget(), Qt::LeftButton, Qt::NoModifier, h7);
    EXPECT_FALSE(client.window.moveInput().drag().Dragging);
    QTest::mouseRelease(&client.window.boardWidget(), Qt::LeftButton, Qt::NoModifier, h7);
    ASSERT_TRUE(WaitFor([&] {
        return server.window.Text2->text() == QStringLiteral("いい勝負ですね: 続けましょう") &&
               client.window.Command5->isEnabled();
    }));
    server.window.Text2->setText(QStringLiteral("はい"));
    server.window.Command5_Click();
    ASSERT_TRUE(WaitFor([&] { return client.window.Text2->text() == QStringLiteral("はい"); }));

    Play(client, server, "h7", "h6");
    // Castled, the first player is offered castling no more when a move arrives.
    EXPECT_FALSE(sm.nmuCastling->menuAction()->isEnabled());
    Play(server, client, "a2", "a4");
    // Later moves draw only their squares: the position text stays the one received.
    EXPECT_NE(server.game().PositionString, WritePosition(server.game().board));
    Play(client, server, "h6", "h5");
    Play(server, client, "a4", "a5");
    Play(client, server, "h5", "h4");
    Play(server, client, "a5", "a6");
    Play(client, server, "d7", "d6");
    Play(server, client, "a6", "b7");
    Play(client, server, "g7", "g6");

    // A pawn reaching the far row becomes a queen; the peer hears of it before the move.
    Play(server, client, "b7", "a8");
    EXPECT_EQ(server.game().board.name(ServerView("a8")), "qu1");
    EXPECT_EQ(client.game().board.name(ClientView("a8")), "qu2");
    EXPECT_TRUE(server.messages().contains(QStringLiteral("プロモ－ション")));
    EXPECT_TRUE(client.messages().contains(QStringLiteral("プロモ－ション")));

    Play(client, server, "a7", "a6");
    Play(server, client, "c4", "f7"); // check
    EXPECT_EQ(client.messages().count(QStringLiteral("チェック！")), 1);

    // In check the client may not make a move that leaves its king attacked, dragged or
    // clicked: the same box, nothing moved or sent.
    const Board before = client.game().board;
    const QImage picture = client.window.renderer().BackBuffer().copy();
    Drag(client, ClientView("a6"), ClientView("a5"));
    Click(client, ClientView("a6"), ClientView("a5"));
    EXPECT_EQ(client.messages().mid(client.messages().size() - 2),
              QStringList(2, QStringLiteral("チェックのため、その手は使えません。")));
    EXPECT_EQ(client.game().board, before);
    EXPECT_EQ(client.window.renderer().BackBuffer(), picture);
    // Dropping back on the source square or off the board is no move at all.
    const int messages = client.messages().size();
    Drag(client, ClientView("a6"), ClientView("a6"));
    client.drag(ClientView("a6"), {590, 20});
    EXPECT_EQ(client.game().board, before);
    EXPECT_EQ(client.messages().size(), messages);
    EXPECT_EQ(client.game().MoveNumber, 19);
    // The board picture shows the position unchanged.
    const QImage shown = client.window.renderer().BackBuffer().copy();
    client.window.renderer().DrawBoard(client.game().board);
    EXPECT_EQ(client.window.renderer().BackBuffer(), shown);

    // The second player castles towards column 0 although in check: castling tests none.
    cm.nmuCastlingLeft->trigger();
    ASSERT_TRUE(Arrived(server, client, 20));
    ExpectTurnPassed(client, server, 20);
    EXPECT_EQ(client.game().board.name(ClientView("g8")), "ki1");
    EXPECT_EQ(client.game().board.name(ClientView("f8")), "ru1");

    // The first player takes the king.
    Play(server, client, "f7", "g8");
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("あなたの勝ちです。"));
    ASSERT_TRUE(WaitFor(
        [&] { return client.window.Text2->text() == QStringLiteral("あなたの負けです。"); }));
    EXPECT_FALSE(server.window.clocks().Timer1.isActive());
    EXPECT_FALSE(client.window.clocks().Timer1.isActive());

    // Resigning afterwards only tells the peer; it ends nothing else.
    cm.mnuToryou->trigger();
    EXPECT_EQ(client.window.Text2->text(), QStringLiteral("あなたの負けです。"));
    ASSERT_TRUE(WaitFor([&] {
        return server.window.Text2->text() ==
               QStringLiteral("投了です。あなたの勝ちです。有り難うございました。");
    }));
    EXPECT_TRUE(client.window.connection().Connected());
}
