#include "twocopies.h"

#include "board/clocks.h"
#include "net/socketerrortext.h"
#include "rules/position.h"
#include "support/files.h"

#include <QDir>
#include <QMenu>
#include <QTcpServer>

#include <sys/resource.h>

using namespace quorin;
using test::Contents;
using test::Copy;
using test::SeenFromTheOtherSide;
using test::WaitFor;

namespace {

class Network : public test::TwoCopies {};

bool ConnectedLayout(Copy& copy) {
    const MainMenu& m = copy.window.menu();
    return !m.mnuServer->isEnabled() && !m.mnuClient->isEnabled() && m.mnuClose->isEnabled() &&
           copy.window.Command5->isEnabled() && m.mnuM->menuAction()->isEnabled() &&
           m.mnuTEnd->menuAction()->isEnabled() && m.mnuStrong->menuAction()->isEnabled();
}

bool ClosedLayout(Copy& copy) {
    const MainMenu& m = copy.window.menu();
    return copy.idle() && !copy.window.Command5->isEnabled() &&
           !m.mnuM->menuAction()->isEnabled() && !m.mnuTEnd->menuAction()->isEnabled();
}

} // namespace

TEST_F(Network, ServerAndClientSeeEachStateOfTheConnectionAndEitherMayClose) {
    const MainMenu& sm = server.window.menu();
    server.window.mnuServer_Click();
    EXPECT_TRUE(!sm.mnuServer->isEnabled() && !sm.mnuClient->isEnabled() &&
                sm.mnuClose->isEnabled() && !server.window.Command5->isEnabled());
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("クライアント待受"));
    EXPECT_EQ(server.window.Text1->text(), server.window.LocalAddressText);
    EXPECT_FALSE(server.window.LocalAddressText.isEmpty());

    client.window.Combo1->setEditText(QStringLiteral("127.0.0.1"));
    client.window.mnuClient_Click();
    ASSERT_TRUE(WaitFor([&] { return ConnectedLayout(server) && ConnectedLayout(client); }));
    EXPECT_EQ(client.window.Text2->text(), QStringLiteral("サーバーと接続が完了しました。"));
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral(" 127. 0. 0. 1が接続してきました。"));
    EXPECT_EQ(client.window.HostText, QStringLiteral("127.0.0.1"));
    // One peer per server start: the listener is closed.
    EXPECT_FALSE(server.window.connection().Listening());

    // The client ends it while waiting for an acknowledgement, which does not stick into
    // the next game; the server sees the close.
    client.window.connection().AwaitingAck = true;
    client.window.mnuClose_Click();
    EXPECT_FALSE(client.window.connection().AwaitingAck);
    EXPECT_TRUE(ClosedLayout(client));
    EXPECT_EQ(client.window.Text1->text(), QStringLiteral("切断しました"));
    EXPECT_TRUE(client.window.Text2->text().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return server.window.Text2->text() == QStringLiteral("CLOSE"); }));
    EXPECT_TRUE(ClosedLayout(server));
    EXPECT_TRUE(sm.mnuStrong->menuAction()->isEnabled());
    EXPECT_FALSE(server.window.connection().Connected());
    EXPECT_FALSE(server.window.clocks().Timer1.isActive());
    EXPECT_TRUE(server.messages().isEmpty() && client.messages().isEmpty());

    // A new server start connects again, and the server may end it as well.
    Connect();
    server.window.mnuClose_Click();
    ASSERT_TRUE(WaitFor([&] { return client.window.Text2->text() == QStringLiteral("CLOSE"); }));
    EXPECT_TRUE(ClosedLayout(client));
}

TEST_F(Network, MovesPassTheTurnAndEachSideSeesItsOwnView) {
    Connect();
    server.window.mnuVSave_Click();
    client.window.mnuVSave_Click();
    const QImage strip = client.window.renderer().StripSurface().copy();

    Move(server, {4, 6}, {4, 4});
    ASSERT_TRUE(Arrived(client, server, 1));
    const std::string serverLine1 = WritePosition(server.game().board);
    const std::string clientLine1 = WritePosition(client.game().board);
    EXPECT_EQ(server.window.windowTitle(), QStringLiteral("Quorin：あなた=先手:第 1手"));
    EXPECT_EQ(client.window.windowTitle(), QStringLiteral("Quorin：あなた=後手:第 1手"));
    EXPECT_EQ(server.game().PlayerSide, "先手");
    EXPECT_EQ(client.game().PlayerSide, "後手");
    EXPECT_TRUE(SeenFromTheOtherSide(server.game().board, client.game().board));
    EXPECT_EQ(client.game().board.name({3, 7}), "ki1");
    EXPECT_TRUE(client.game().MyTurn && !server.game().MyTurn);
    // The receiver of move 1 draws its own pieces with the other set of pictures.
    const int half = 6 * client.window.renderer().geometry().PieceWidth;
    EXPECT_EQ(client.window.renderer().StripSurface().copy(0, 0, half, strip.height()),
              strip.copy(half, 0, half, strip.height()));
    // Both clocks run from move 1, a second a tick.
    EXPECT_EQ(server.window.clocks().Timer1.interval(), Clocks::kGameInterval);
    EXPECT_EQ(client.window.clocks().Timer1.interval(), Clocks::kGameInterval);
    EXPECT_EQ(client.env.seams().soundPlays, 1);

    Move(client, {3, 6}, {3, 4});
    ASSERT_TRUE(Arrived(server, client, 2));
    EXPECT_TRUE(server.game().MyTurn && !client.game().MyTurn);
    EXPECT_TRUE(SeenFromTheOtherSide(client.game().board, server.game().board));
    EXPECT_EQ(server.window.windowTitle(), QStringLiteral("Quorin：あなた=先手:第 2手"));

    // Each record holds one line per move, each from its own player's side.
    EXPECT_EQ(Contents(server.window.record().path()).toStdString(),
              serverLine1 + "\r\n" + WritePosition(server.game().board) + "\r\n");
    EXPECT_EQ(Contents(client.window.record().path()).toStdString(),
              clientLine1 + "\r\n" + WritePosition(client.game().board) + "\r\n");
    EXPECT_TRUE(server.messages().isEmpty() && client.messages().isEmpty());
}

// A received move is taken over whole before any box opens: board and title, sound,
// "あなたの番", then the check, then a record failure, which each connection reports once.
TEST_F(Network, AReceivedMoveIsTakenOverBeforeAnyBoxAndARecordFailureIsToldOnce) {
    Connect();
    client.window.mnuVSave_Click();
    const QString path = client.window.record().path();
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path)); // a folder took the record's place
    QStringList seen;
    client.env.seams().observe = [&](const QString& message) {
        const bool taken = SeenFromTheOtherSide(server.game().board, client.game().board);
        seen.append(QStringList{message.isEmpty() ? QStringLiteral("sound") : message,
                                client.window.windowTitle(), client.window.Text1->text(),
                                taken ? QStringLiteral("board") : QString()}
                        .join(u'|'));
    };
    // The server's queen gives check along the client's diagonal: from the server's side
    // the queen stands on (7, 3), the client's king on (3, 0) with (4, 1)..(6, 2) empty.
    Board& board = server.game().board;
    board.set({5, 1}, kEmptyCode); // the client's pawn in front of its bishop's file
    board.set({4, 1}, kEmptyCode);
    board.set({3, 7}, kEmptyCode);
    board.set({7, 4}, 4);
    Move(server, {7, 4}, {7, 3});
    ASSERT_TRUE(Arrived(client, server, 1));
    const QString failure = client.messages().value(1);
    EXPECT_TRUE(failure.contains(QDir::toNativeSeparators(path))) << failure.toStdString();
    const QString after = QStringLiteral("|Quorin：あなた=後手:第 1手|あなたの番|board");
    EXPECT_EQ(seen, (QStringList{QStringLiteral("sound|Quorin：あなた=後手:第 1手||board"),
                                 QStringLiteral("チェック！") + after, failure + after}));

    // The game goes on; appending is tried on every move and told of no more.
    Move(client, {1, 6}, {1, 5}); // g7-g6 blocks the check

    ASSERT_TRUE(Arrived(server, client, 2));
    ASSERT_TRUE(QDir().rmdir(path));
    Move(server, {7, 3}, {7, 2});
    ASSERT_TRUE(Arrived(client, server, 3));
    EXPECT_EQ(client.messages().size(), 2);
    // The line received is the record line, exactly as it came.
    EXPECT_EQ(Contents(path).toStdString(), WritePositionForPeer(server.game().board) + "\r\n");
    // Recording off writes nothing.
    EXPECT_FALSE(QFile::exists(server.window.record().path()));

    // A new connection tells of a new failure again.
    client.window.mnuClose_Click();
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));
    Connect();
    Move(client, {0, 6}, {0, 5});
    ASSERT_TRUE(Arrived(server, client, 1));
    EXPECT_EQ(client.messages().size(), 3);
    EXPECT_EQ(server.messages(), QStringList());
}

TEST_F(Network, FailuresAreReportedAndLeaveTheMenusReady) {
    // Nobody listens on the port: the client is told and may try again.
    client.window.Combo1->setEditText(QStringLiteral("127.0.0.1"));
    client.window.mnuClient_Click();
    ASSERT_TRUE(WaitFor([&] { return !client.messages().isEmpty(); }));
    EXPECT_EQ(client.messages().first().toStdString(), SocketErrorText(10061));
    EXPECT_TRUE(client.idle());
    EXPECT_FALSE(client.window.connection().HasPeerSocket());

    // The port is taken by another program: the server cannot start.
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::AnyIPv4, port));
    server.window.mnuServer_Click();
    ASSERT_EQ(server.messages().size(), 1);
    EXPECT_EQ(server.messages().first().toStdString(), SocketErrorText(10048));
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("BINDできません。"));
    EXPECT_FALSE(server.window.connection().Listening());
    squatter.close();
    server.window.mnuClose_Click();
    EXPECT_TRUE(server.idle());

    // No socket can be made, for no file descriptor is left: the message line says so.
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    rlimit none = files;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    server.window.mnuServer_Click();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("リスンソケット作成失敗"));
    EXPECT_EQ(server.messages().size(), 1);
    EXPECT_FALSE(server.window.connection().Listening());
    server.window.mnuClose_Click();

    // Then both connect after all.
    Connect();
    EXPECT_TRUE(ConnectedLayout(client));
}

TEST_F(Network, TheRecordIsSavedUnderTheNameThePlayerGives) {
    server.window.mnuVSave_Click();
    EXPECT_TRUE(server.window.menu().mnuVSave->isChecked() &&
                !server.window.menu().mnuVSave->isEnabled());
    Move(server, {4, 6}, {4, 4});

    server.env.seams().answers = {QStringLiteral("game"), QString()};
    server.window.menu().mnuSave->trigger();
    EXPECT_EQ(server.env.seams().prompts.first(),
              QStringLiteral(
                  "棋譜一時保存デ－タを名前を変えて保存します。\r\n(拡張子は略してください。)"));
    // A bare name lands beside the running record, in the (writable) program folder.
    const QDir records(server.env.programFolder());
    const QByteArray running = Contents(server.window.record().path());
    EXPECT_EQ(running.toStdString(), WritePosition(server.game().board) + "\r\n");
    EXPECT_EQ(Contents(records.filePath(QStringLiteral("game.chs"))), running);
    // Cancelling the box saves nothing and says nothing.
    server.window.menu().mnuSave->trigger();
    EXPECT_EQ(records.entryList({QStringLiteral("*.chs")}).size(), 2);
    EXPECT_TRUE(server.messages().isEmpty());
}

TEST(AddressList, FillsTheAddressBoxFromTheProgramFolder) {
    test::TestEnvironment env;
    test::Write(QDir(env.programFolder()).filePath(QStringLiteral("Virir.txt")),
                "gameserver\r\n192.168.1.5, 10.0.0.1\r\n");
    Form1 window(env.environment());
    ASSERT_EQ(window.Combo1->count(), 3);
    EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("gameserver"));
    EXPECT_EQ(window.Combo1->itemText(2), QStringLiteral("10.0.0.1"));

    test::TestEnvironment without;
    Form1 empty(without.environment());
    EXPECT_EQ(empty.Combo1->count(), 0);
    EXPECT_TRUE(empty.Combo1->currentText().isEmpty());
}
