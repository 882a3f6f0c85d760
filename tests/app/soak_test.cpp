// Two hundred games of random legal moves between two copies, the link cut and the game
// resumed in many of them: at the end of every game both boards are the same game, and
// both records hold the same positions; no move was found against the rules.

#include "randomgames.h"

#include "rules/position.h"
#include "support/files.h"

using namespace quorin;

TEST(Soak, TwoHundredGamesWithLinksCutAndResumed) {
    const quint16 port = test::FreePort();
    test::Player server(port), client(port);
    test::RandomGames games(server, client, 20261208);
    ASSERT_TRUE(games.Connect(false));
    server.window->mnuVSave_Click();
    client.window->mnuVSave_Click();
    for (int game = 0; game < 200; ++game) {
        ASSERT_TRUE(games.Play(game % 3 == 0)) << "game " << game << ": " << games.failure;
        ASSERT_EQ(WritePositionForPeer(server.game().board), WritePosition(client.game().board))
            << "game " << game;
    }
    EXPECT_GE(games.cuts, 50);
    EXPECT_EQ(games.warnings, 0);
    const QList<QByteArray> s = test::Contents(server.window->record().path()).split('\n'),
                            c = test::Contents(client.window->record().path()).split('\n');
    ASSERT_EQ(s.size(), games.moves() + 1);
    ASSERT_EQ(c.size(), s.size());
    for (qsizetype i = 0; i + 1 < s.size(); ++i)
        ASSERT_EQ(WritePositionForPeer(*ReadPosition(s[i].trimmed().toStdString())),
                  c[i].trimmed().toStdString())
            << "line " << i;
}
