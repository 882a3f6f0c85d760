// Two copies connecting through their menus, and the servers found on the local network:
// announced while waiting, offered in the address box (Combo1), dropped when silent.

#include "twocopies.h"

#include "net/announcement.h"
#include "net/serverfinder.h"
#include "net/socketerrortext.h"
#include "support/files.h"

#include <QDir>
#include <QNetworkDatagram>
#include <QSysInfo>
#include <QTcpServer>
#include <QTextDocument>
#include <QUdpSocket>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>

using namespace quorin;
using test::Copy;
using test::WaitFor;

namespace {

class Network : public test::TwoCopies {};

// Whether the menus and the send button are laid out for a connection, or for none.
bool Layout(Copy& copy, bool connected) {
    const MainMenu& m = copy.window.menu();
    return m.mnuServer->isEnabled() != connected && m.mnuClient->isEnabled() != connected &&
           m.mnuClose->isEnabled() == connected && copy.window.Command5->isEnabled() == connected &&
           m.mnuM->menuAction()->isEnabled() == connected &&
           m.mnuTEnd->menuAction()->isEnabled() == connected &&
           copy.window.connection().Connected() == connected;
}

QByteArray Announcing(quint16 port, const std::string& name) {
    return QByteArray::fromStdString(MakeAnnouncement(port, name));
}

QString Loopback(int n) {
    return QStringLiteral("127.0.0.%1").arg(n);
}

// Sends `datagram` from Loopback(from) to every copy on this computer that hears `port`.
void Send(int from, quint16 port, const QByteArray& datagram) {
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress(Loopback(from)), 0));
    ASSERT_EQ(socket.writeDatagram(datagram, QHostAddress(QStringLiteral("127.255.255.255")), port),
              datagram.size());
}

// The address box's entries, the last numbers of their loopback addresses.
std::vector<int> Entries(const QComboBox* box) {
    std::vector<int> entries;
    for (int i = 0; i < box->count(); ++i)
        entries.push_back(box->itemText(i).section(u'.', 3).toInt());
    return entries;
}

// An entry's tool tip as the player reads it: rich text when it looks like it, as tool
// tips decide.
QString ShownTip(const QComboBox* box, const QString& entry) {
    const QString tip = box->itemData(box->findText(entry), Qt::ToolTipRole).toString();
    QTextDocument shown;
    shown.setHtml(tip);
    return Qt::mightBeRichText(tip) ? shown.toPlainText() : tip;
}

// A copy alone, whose found servers live `lifetimeMs`, with `addressList` as its file.
struct LoneCopy {
    LoneCopy(int lifetimeMs, const QByteArray& addressList) {
        test::Write(QDir(env.programFolder()).filePath("Virir.txt"), addressList);
        Environment e = env.environment();
        e.foundServerLifetimeMs = lifetimeMs;
        window = std::make_unique<Form1>(e);
    }
    test::TestEnvironment env{test::FreePort()};
    std::unique_ptr<Form1> window;
    QComboBox* box() { return window->Combo1; }
    quint16 port() { return window->connection().port(); }
};

} // namespace

// Failures to connect are told and leave the menus ready. Then the server waits and is
// offered to the client; both sides see each state of the connection, and either may close.
TEST_F(Network, ServerAndClientSeeEachStateOfTheConnectionAndEitherMayClose) {
    // Nobody listens on the port: the client is told and may try again.
    QComboBox* box = client.window.Combo1;
    box->setEditText(QStringLiteral("127.0.0.1"));
    client.window.mnuClient_Click();
    ASSERT_TRUE(WaitFor([&] { return !client.messages().isEmpty(); }));
    EXPECT_EQ(client.messages(), QStringList{QString::fromStdString(SocketErrorText(10061))});
    EXPECT_TRUE(Layout(client, false));

    // The port is taken by another program: the server cannot start.
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::AnyIPv4, port));
    server.window.mnuServer_Click();
    EXPECT_EQ(server.messages(), QStringList{QString::fromStdString(SocketErrorText(10048))});
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("BINDできません。"));
    squatter.close();
    server.window.mnuClose_Click();
    EXPECT_TRUE(Layout(server, false));

    // No socket can be made, for no file descriptor is left: the message line says so.
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    const rlimit none{0, files.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    server.window.mnuServer_Click();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("リスンソケット作成失敗"));
    server.window.mnuClose_Click();
    // A copy that starts without sockets says so at once.
    test::TestEnvironment starved;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    const auto unlucky = std::make_unique<Form1>(starved.environment());
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
    EXPECT_EQ(unlucky->Text2->text(), QStringLiteral("初期化失敗"));

    // The waiting server is offered in the client's address box, its computer's name as the
    // entry's tool tip, the typed text left alone. It never offers itself.
    QUdpSocket probe; // hears what is sent to the port, as every copy does
    ASSERT_TRUE(probe.bind(QHostAddress::AnyIPv4, port, QAbstractSocket::ShareAddress));
    box->setEditText(QStringLiteral("typed.host"));
    server.window.mnuServer_Click();
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral("クライアント待受"));
    ASSERT_TRUE(WaitFor([&] { return box->findText(Loopback(1)) >= 0; }));
    EXPECT_EQ(ShownTip(box, Loopback(1)), QSysInfo::machineHostName());
    EXPECT_EQ(box->currentText(), QStringLiteral("typed.host"));
    Send(9, port, Announcing(port, "other"));
    ASSERT_TRUE(WaitFor([&] { return server.window.Combo1->count() > 0; }));
    EXPECT_EQ(Entries(server.window.Combo1), std::vector{9});

    // Chosen there, it is connected, and announces itself no more.
    box->setCurrentIndex(box->findText(Loopback(1)));
    client.window.mnuClient_Click();
    ASSERT_TRUE(WaitFor([&] { return Layout(server, true) && Layout(client, true); }));
    EXPECT_EQ(client.window.Text2->text(), QStringLiteral("サーバーと接続が完了しました。"));
    EXPECT_EQ(server.window.Text2->text(), QStringLiteral(" 127. 0. 0. 1が接続してきました。"));
    WaitFor([] { return false; }, 200);
    while (probe.hasPendingDatagrams())
        probe.receiveDatagram();
    EXPECT_FALSE(WaitFor([&] { return probe.hasPendingDatagrams(); }, 1300));

    // The client ends it; the server sees the close.
    client.window.mnuClose_Click();
    EXPECT_TRUE(Layout(client, false));
    EXPECT_EQ(client.window.Text1->text(), QStringLiteral("切断しました"));
    ASSERT_TRUE(WaitFor([&] { return server.window.Text2->text() == QStringLiteral("CLOSE"); }));
    EXPECT_TRUE(Layout(server, false));

    // A new server start connects again, and the server may end it as well.
    Connect();
    server.window.mnuClose_Click();
    ASSERT_TRUE(WaitFor([&] { return client.window.Text2->text() == QStringLiteral("CLOSE"); }));
    EXPECT_TRUE(Layout(client, false));
}

// Both ends have the system probe a silent link and give up data never taken.
TEST_F(Network, BothEndsWatchForADeadLink) {
    Connect();
    for (Copy* copy : {&server, &client}) {
        const auto fd = int(copy->window.connection().findChild<QTcpSocket*>()->socketDescriptor());
        for (const auto& [level, name, value] : {std::tuple(SOL_SOCKET, SO_KEEPALIVE, 1),
                                                 {IPPROTO_TCP, TCP_KEEPIDLE, 10},
                                                 {IPPROTO_TCP, TCP_KEEPINTVL, 3},
                                                 {IPPROTO_TCP, TCP_KEEPCNT, 3},
                                                 {IPPROTO_TCP, TCP_USER_TIMEOUT, 20000}}) {
            int set = -1;
            socklen_t size = sizeof set;
            EXPECT_EQ((getsockopt(fd, level, name, &set, &size), set), value) << name;
        }
    }
}

TEST(FindingAlone, SixteenServersAreKeptUntilTheyFallSilentAndTheFilesEntriesStay) {
    LoneCopy copy(1500, "127.0.0.1\r\n");
    // Twenty servers at once, the first at the address the file lists.
    for (int n = 1; n <= 20; ++n)
        Send(n, copy.port(), Announcing(copy.port(), "server"));
    ASSERT_TRUE(WaitFor([&] { return copy.box()->count() == 16; }));
    EXPECT_EQ(Entries(copy.box()),
              (std::vector{16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(copy.box()->currentText(), Loopback(1));

    // The player chooses one; one other server is heard again a little later.
    copy.box()->setCurrentIndex(copy.box()->findText(Loopback(5)));
    WaitFor([] { return false; }, 700);
    Send(2, copy.port(), Announcing(copy.port(), "server"));
    ASSERT_TRUE(WaitFor([&] { return copy.box()->count() == 2; }));
    EXPECT_EQ(Entries(copy.box()), (std::vector{2, 1}));
    ASSERT_TRUE(WaitFor([&] { return copy.box()->count() == 1; }));
    EXPECT_EQ(copy.box()->currentText(), Loopback(5));
    EXPECT_EQ(test::Contents(QDir(copy.env.programFolder()).filePath("Virir.txt")),
              QByteArray("127.0.0.1\r\n"));
}

TEST(FindingAlone, OnlyWellFormedAnnouncementsForItsPortAndNoFloodAreTaken) {
    LoneCopy copy(ServerFinder::kLifetimeMs, {});
    const quint16 port = copy.port();
    const QByteArray refused[] = {
        QByteArray("QUORIN-SERVER 2 ") + QByteArray::number(port) + " pc",
        Announcing(port + 1, "pc"),
        Announcing(port, "pc") + QByteArray(kAnnouncementLimit, 'x'),
        QByteArray("hello"),
        QByteArray(),
    };
    for (const QByteArray& datagram : refused)
        Send(3, port, datagram);
    // The name is shown as written, without what would act instead of show.
    Send(4, port, Announcing(port, "<b>pc</b>&amp;\x1B\xE2\x80\xAE"));
    ASSERT_TRUE(WaitFor([&] { return copy.box()->count() > 0; }));
    EXPECT_EQ(Entries(copy.box()), std::vector{4});
    EXPECT_EQ(ShownTip(copy.box(), Loopback(4)), QStringLiteral("<b>pc</b>&amp;"));

    // After a quiet second, a flood: more datagrams than a second's share, then a server.
    WaitFor([] { return false; }, 1100);
    for (int i = 0; i < ServerFinder::kHeardPerSecond + 6; ++i)
        Send(3, port, "flood");
    Send(5, port, Announcing(port, "pc"));
    WaitFor([] { return false; }, 1100);
    Send(6, port, Announcing(port, "pc"));
    ASSERT_TRUE(WaitFor([&] { return copy.box()->count() > 1; }));
    EXPECT_EQ(Entries(copy.box()), (std::vector{6, 4}));
}
