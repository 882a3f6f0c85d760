// A whole game between two copies, by mouse and menus, to the capture of a king. The
// server moves by two clicks, the client by dragging.

#include "twocopies.h"

#include "rules/position.h"
#include "support/files.h"

#include <QDir>

using namespace quorin;
using test::ClientView;
using test::Copy;
using test::ServerView;
using test::WaitFor;

namespace {

class Game : public test::TwoCopies {
protected:
    // Moves by mouse in turn ("e2e4", named from the mover's side), each taken over by the
    // peer; checks both sides after each.
    void PlayByMouse(std::initializer_list<const char*> moves) {
        for (const std::string move : moves) {
            SCOPED_TRACE(move);
            const int number = server.game().MoveNumber + 1;
            Copy& mover = number % 2 ? server : client;
            const auto view = number % 2 ? ServerView : ClientView;
            const Square from = view(move.c_str()), to = view(move.c_str() + 2);
            if (number % 2) {
                mover.click(from);
                ASSERT_EQ(mover.window.moveInput().Selected(), from);
                mover.click(to);
            } else {
                mover.drag(from, mover.center(to));
            }
            ASSERT_EQ(mover.game().MoveNumber, number);
            ASSERT_TRUE(Arrived(number % 2 ? client : server, mover, number));
            ExpectTurnPassed(mover, number % 2 ? client : server, number);
        }
    }

    void ExpectTurnPassed(Copy& mover, Copy& peer, int number) {
        EXPECT_EQ(WritePositionForPeer(mover.game().board), WritePosition(peer.game().board));
        EXPECT_TRUE(peer.game().MyTurn && !mover.game().MyTurn);
        EXPECT_EQ(peer.window.Text1->text(), QStringLiteral("あなたの番"));
        const QString side = QStringLiteral(":第 %1手").arg(number);
        EXPECT_EQ(server.window.windowTitle(), QStringLiteral("Quorin：あなた=先手") + side);
        EXPECT_EQ(client.window.windowTitle(), QStringLiteral("Quorin：あなた=後手") + side);
    }
};

} // namespace

TEST_F(Game, FromTheFirstMoveToTheCaptureOfAKing) {
    Connect();
    client.window.mnuVSave_Click(); // the server records nothing
    const QString record = client.window.record().path();
    const MainMenu& sm = server.window.menu();
    PlayByMouse({"e2e4"});
    EXPECT_FALSE(sm.nmuCastling->menuAction()->isEnabled());
    EXPECT_TRUE(client.window.menu().nmuCastling->menuAction()->isEnabled());
    PlayByMouse({"e7e5", "g1f3", "g8f6", "f1c4", "f8c5"});

    // The first player castles towards column 7; its board picture is drawn anew, once.
    sm.nmuCastlingRight->trigger();
    ASSERT_TRUE(Arrived(client, server, 7));
    ExpectTurnPassed(server, client, 7);
    EXPECT_EQ(server.game().PositionString, WritePosition(server.game().board));
    EXPECT_TRUE(server.showsItsBoard());
    EXPECT_FALSE(sm.nmuCastling->menuAction()->isEnabled());

    // Chat both ways.
    client.window.Text2->setText(QStringLiteral("いい勝負ですね: 続けましょう"));
    QTest::mouseClick(client.window.Command5, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] {
        return server.window.Text2->text() == QStringLiteral("いい勝負ですね: 続けましょう") &&
               client.window.Command5->isEnabled();
    }));
    server.window.Text2->setText(QStringLiteral("はい"));
    server.window.Command5_Click();
    ASSERT_TRUE(WaitFor([&] { return client.window.Text2->text() == QStringLiteral("はい"); }));

    PlayByMouse({"h7h6"});
    // Castled, the first player is offered castling no more when a move arrives.
    EXPECT_FALSE(sm.nmuCastling->menuAction()->isEnabled());
    PlayByMouse({"a2a4"});
    // Later moves draw only their squares: the position text stays the one received.
    EXPECT_NE(server.game().PositionString, WritePosition(server.game().board));
    PlayByMouse({"h6h5", "a4a5", "h5h4", "a5a6", "d7d6", "a6b7", "g7g6"});
    // A pawn reaching the far row becomes a queen.
    PlayByMouse({"b7a8"});
    EXPECT_EQ(client.game().board.name(ClientView("a8")), "qu2");

    PlayByMouse({"a7a6"});
    // A check arrives while the client's record cannot be written (a folder took its place).
    // The move is taken over whole before any box opens: board and title, sound,
    // "あなたの番", then the check, then the record failure with the record's path.
    ASSERT_TRUE(QFile::remove(record) && QDir().mkdir(record));
    QStringList seen; // what the client had done as each sound played and each box opened
    client.env.seams().observe = [&](const QString& message) {
        const bool taken =
            client.window.windowTitle() == "Quorin：あなた=後手:第 19手" &&
            WritePositionForPeer(server.game().board) == WritePosition(client.game().board);
        seen << (message.isEmpty() ? "sound" : message) + '|' + client.window.Text1->text() +
                    (taken ? "|taken" : "");
    };
    PlayByMouse({"c4f7"});
    const QString failure = client.messages().last();
    EXPECT_TRUE(failure.contains(QDir::toNativeSeparators(record))) << failure.toStdString();
    EXPECT_EQ(seen, (QStringList{"sound|相手は考え中|taken", "チェック！|あなたの番|taken",
                                 failure + "|あなたの番|taken"}));

    // In check the client may not make a move that leaves its king attacked, dragged or
    // clicked: the same box, nothing moved or sent.
    const Board before = client.game().board;
    const qsizetype said = client.messages().size();
    client.drag(ClientView("a6"), client.center(ClientView("a5")));
    client.click(ClientView("a6"));
    client.click(ClientView("a5"));
    EXPECT_EQ(client.messages().mid(said),
              QStringList(2, QStringLiteral("チェックのため、その手は使えません。")));
    EXPECT_EQ(client.game().board, before);
    EXPECT_EQ(client.game().MoveNumber, 19);
    EXPECT_TRUE(client.showsItsBoard());

    // The second player castles towards column 0 although in check: castling tests none.
    const qsizetype told = client.messages().size();
    client.window.menu().nmuCastlingLeft->trigger();
    ASSERT_TRUE(Arrived(server, client, 20));
    ExpectTurnPassed(client, server, 20);

    // The first player takes the king. The record can be written again: the line received
    // is appended to it. The failure was told once.
    ASSERT_TRUE(QDir().rmdir(record));
    PlayByMouse({"f7g8"});
    EXPECT_EQ(test::Contents(record).toStdString(),
              WritePositionForPeer(server.game().board) + "\r\n");
    EXPECT_EQ(client.messages().size(), told);
    EXPECT_FALSE(QFile::exists(server.window.record().path()));
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("あなたの勝ちです。"));
    ASSERT_TRUE(WaitFor(
        [&] { return client.window.Text2->text() == QStringLiteral("あなたの負けです。"); }));

    // A new connection tells of a new record failure again.
    client.window.mnuClose_Click();
    ASSERT_TRUE(QFile::remove(record) && QDir().mkdir(record));
    Connect();
    Play(client, "a6", "a5");
    EXPECT_EQ(client.messages().size(), told + 1);
}
