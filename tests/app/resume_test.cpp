// A game that goes on after a lost link and after a closed window: two copies that can be
// closed and started again, moving by two clicks.

#include "randomgames.h"

#include "board/clocks.h"
#include "rules/position.h"

using namespace quorin;
using test::Player;
using test::WaitFor;

namespace {

class Resume : public ::testing::Test {
protected:
    Resume() : port(test::FreePort()), server(port), client(port), link(server, client, 0) {}

    // A pawn of the mover's own steps forward, by two clicks; the move arrives.
    bool Step(Player& mover, Square pawn, bool arrives = true) {
        mover.Click(pawn);
        mover.Click({pawn.x, pawn.y - 1});
        Player& peer = &mover == &server ? client : server;
        const int number = mover.game().MoveNumber;
        return !arrives || WaitFor([&] {
            return peer.game().MoveNumber == number && !mover.window->connection().AwaitingAck;
        });
    }

    quint16 port;
    Player server, client;
    test::RandomGames link;
};

} // namespace

// The client's window is closed with its move not yet read, and the program started again:
// it shows the game where it was, with its clocks, and once both resume the move is sent
// again and the game goes on. A new game instead starts afresh. (The soak test cuts the link
// in many more ways.)
TEST_F(Resume, AClosedWindowTakesUpItsGameAgain) {
    ASSERT_TRUE(link.Connect(false));
    ASSERT_TRUE(Step(server, {4, 6}) && Step(client, {4, 6}) && Step(server, {3, 6}));
    EXPECT_FALSE(server.window->menu().mnuResume->isEnabled());
    client.window->clocks().ClockCounters = {5, 9};
    Step(client, {3, 6}, false);
    const Board board = client.game().board;
    client.Start();
    ASSERT_TRUE(link.Idle());
    EXPECT_EQ(client.game().board, board);
    EXPECT_EQ(client.window->windowTitle(), QStringLiteral("Quorin：あなた=後手:第 4手"));
    EXPECT_EQ(client.window->Text2->text(), QStringLiteral("前回の対局を再開できます（第 4手）。"));
    EXPECT_TRUE(!client.game().MyTurn && client.window->menu().mnuResume->isEnabled());
    EXPECT_TRUE(test::ShowsItsBoard(*client.window));
    WaitFor([] { return false; }, 300); // the clocks stand still until the game resumes
    EXPECT_EQ(client.window->clocks().ClockCounters, (std::array{5, 9}));
    ASSERT_TRUE(link.Connect(true));
    ASSERT_TRUE(WaitFor([&] { return server.game().MoveNumber == 4; }));
    ASSERT_TRUE(Step(server, {2, 6}));
    EXPECT_EQ(WritePositionForPeer(server.game().board), WritePosition(client.game().board));
    EXPECT_EQ(link.warnings, 0);

    client.window->mnuInit_Click();
    client.Start();
    EXPECT_EQ(std::pair(client.game().MoveNumber, client.window->windowTitle()),
              std::pair(0, QStringLiteral("Quorin")));
}
