// A game that goes on after a lost link and after a closed window: two copies that can be
// closed and started again, moving by two clicks.

#include "twocopies.h"

#include "board/clocks.h"
#include "rules/position.h"
#include "support/files.h"

using namespace quorin;
using test::Player;
using test::WaitFor;

namespace {

class Resume : public ::testing::Test {
protected:
    Resume() : port(test::FreePort()), server(port), client(port) {}

    void Connect(bool resume) {
        if (resume) {
            server.window->menu().mnuResume->trigger();
            client.window->menu().mnuResume->trigger();
        } else {
            server.window->mnuServer_Click();
            client.window->Combo1->setEditText(QStringLiteral("127.0.0.1"));
            client.window->mnuClient_Click();
        }
        ASSERT_TRUE(WaitFor([&] {
            return server.window->connection().Connected() &&
                   client.window->connection().Connected();
        }));
    }
    bool Idle() {
        return WaitFor([&] {
            return !server.window->connection().HasPeerSocket() &&
                   !client.window->connection().HasPeerSocket();
        });
    }
    // A pawn of the mover's own steps forward, by two clicks.
    void Step(Player& mover, Square pawn) {
        mover.Click(pawn);
        mover.Click({pawn.x, pawn.y - 1});
    }
    bool Arrived(Player& receiver, Player& mover, int number) {
        return WaitFor([&] {
            return receiver.game().MoveNumber == number && !mover.window->connection().AwaitingAck;
        });
    }
    // Both boards the same, one turned; both records the same positions.
    void ExpectTheSameGame(int lines) {
        EXPECT_EQ(WritePositionForPeer(server.game().board), WritePosition(client.game().board));
        QList<QByteArray> s = test::Contents(server.window->record().path()).split('\n'),
                          c = test::Contents(client.window->record().path()).split('\n');
        ASSERT_EQ(std::pair(int(s.size()), int(c.size())), std::pair(lines + 1, lines + 1));
        for (int i = 0; i < lines; ++i)
            EXPECT_EQ(WritePositionForPeer(*ReadPosition(s[i].trimmed().toStdString())),
                      c[i].trimmed().toStdString());
        for (Player* p : {&server, &client})
            EXPECT_FALSE(p->window->Text2->text().startsWith(QStringLiteral("注意")));
    }

    quint16 port;
    Player server, client;
};

} // namespace

// The link is reset while a move is on its way: both see "CLOSE"; both resume, the move is
// sent again and taken once, and the game goes on.
TEST_F(Resume, AMoveLostWithTheLinkIsSentAgainOnResume) {
    Connect(false);
    server.window->mnuVSave_Click();
    client.window->mnuVSave_Click();
    Step(server, {4, 6});
    ASSERT_TRUE(Arrived(client, server, 1));
    Step(client, {4, 6});
    ASSERT_TRUE(Arrived(server, client, 2));
    EXPECT_FALSE(server.window->menu().mnuResume->isEnabled());
    Step(server, {3, 6});
    client.Cut(); // before the move is read
    ASSERT_TRUE(Idle());
    EXPECT_EQ(std::pair(server.game().MoveNumber, client.game().MoveNumber), std::pair(3, 2));
    for (Player* p : {&server, &client}) {
        EXPECT_EQ(p->window->Text2->text(), QStringLiteral("CLOSE"));
        EXPECT_TRUE(p->window->menu().mnuResume->isEnabled());
    }
    Connect(true);
    ASSERT_TRUE(Arrived(client, server, 3));
    EXPECT_EQ(server.window->Text2->text(), QStringLiteral("対局を再開しました（第 3手）。"));
    EXPECT_EQ(client.window->windowTitle(), QStringLiteral("Quorin：あなた=後手:第 3手"));
    Step(client, {3, 6});
    ASSERT_TRUE(Arrived(server, client, 4));
    ExpectTheSameGame(4);
}

// The client's window is closed in the middle of the game and the program started again:
// it shows the game where it was, with its clocks, and the game goes on from there.
TEST_F(Resume, AClosedWindowTakesUpItsGameAgain) {
    Connect(false);
    Step(server, {4, 6});
    ASSERT_TRUE(Arrived(client, server, 1));
    Step(client, {4, 6});
    ASSERT_TRUE(Arrived(server, client, 2));
    Step(server, {3, 6});
    ASSERT_TRUE(Arrived(client, server, 3));
    client.window->clocks().ClockCounters = {5, 9};
    Step(client, {3, 6}); // not yet read when the window closes
    const Board board = client.game().board;
    client.Start();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(client.game().board, board);
    EXPECT_EQ(client.window->windowTitle(), QStringLiteral("Quorin：あなた=後手:第 4手"));
    EXPECT_EQ(client.window->Text2->text(), QStringLiteral("前回の対局を再開できます（第 4手）。"));
    EXPECT_TRUE(!client.game().MyTurn && client.window->menu().mnuResume->isEnabled());
    EXPECT_TRUE(client.showsItsBoard());
    Connect(true);
    ASSERT_TRUE(Arrived(server, client, 4));
    Step(server, {2, 6});
    ASSERT_TRUE(Arrived(client, server, 5));
    EXPECT_EQ(WritePositionForPeer(server.game().board), WritePosition(client.game().board));
    EXPECT_GE(client.window->clocks().ClockCounters[1], 9);
    EXPECT_FALSE(server.window->Text2->text().startsWith(QStringLiteral("注意")));

    // A new game instead: the file goes, and a copy started then starts afresh.
    client.window->mnuInit_Click();
    client.Start();
    EXPECT_EQ(std::pair(client.game().MoveNumber, client.window->windowTitle()),
              std::pair(0, QStringLiteral("Quorin")));
}
