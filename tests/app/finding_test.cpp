// Servers found on the local network: announced by a waiting server, offered in the
// client's address box (Combo1), dropped when they fall silent.

#include "twocopies.h"

#include "net/announcement.h"
#include "net/serverfinder.h"
#include "support/files.h"

#include <QDir>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QSysInfo>
#include <QTextDocument>
#include <QTimer>
#include <QUdpSocket>

using namespace quorin;
using test::WaitFor;

namespace {

class Finding : public test::TwoCopies {};

QByteArray Announcing(quint16 port, const std::string& name) {
    return QByteArray::fromStdString(MakeAnnouncement(port, name));
}

// Sends `datagram` from `from`, an address of the loopback network, to every copy on this
// computer that hears `port`.
void Send(const QString& from, quint16 port, const QByteArray& datagram) {
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress(from), 0));
    ASSERT_EQ(socket.writeDatagram(datagram, QHostAddress(QStringLiteral("127.255.255.255")), port),
              datagram.size());
}

QString Loopback(int n) {
    return QStringLiteral("127.0.0.%1").arg(n);
}

QStringList Entries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries.append(box->itemText(i));
    return entries;
}

// An entry's tool tip as the player reads it: rich text when it looks like it, as tool
// tips decide.
QString ShownTip(const QComboBox* box, const QString& entry) {
    const QString tip = box->itemData(box->findText(entry), Qt::ToolTipRole).toString();
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument shown;
    shown.setHtml(tip);
    return shown.toPlainText();
}

// One copy, alone, whose found servers live `lifetimeMs`, with `addressList` as its file.
struct LoneCopy {
    LoneCopy(int lifetimeMs, const QByteArray& addressList) : env(test::FreePort()) {
        if (!addressList.isEmpty())
            test::Write(QDir(env.programFolder()).filePath(QStringLiteral("Virir.txt")),
                        addressList);
        Environment e = env.environment();
        e.foundServerLifetimeMs = lifetimeMs;
        window = std::make_unique<Form1>(e);
    }
    quint16 port() const { return window->connection().port(); }
    QComboBox* box() const { return window->Combo1; }

    test::TestEnvironment env;
    std::unique_ptr<Form1> window;
};

} // namespace

TEST_F(Finding, TheWaitingServerIsOfferedToTheClientUntilItIsConnected) {
    QComboBox* box = client.window.Combo1;
    ASSERT_EQ(box->count(), 0);
    QTest::keyClicks(box->lineEdit(), QStringLiteral("typed.host"));
    QUdpSocket probe; // hears what is sent to the port, as every copy does
    ASSERT_TRUE(probe.bind(QHostAddress::AnyIPv4, port, QAbstractSocket::ShareAddress));

    server.window.mnuServer_Click();
    ASSERT_TRUE(WaitFor([&] { return box->findText(QStringLiteral("127.0.0.1")) >= 0; }));
    EXPECT_EQ(ShownTip(box, QStringLiteral("127.0.0.1")), QSysInfo::machineHostName());
    EXPECT_EQ(box->currentText(), QStringLiteral("typed.host"));
    // Heard on loopback and on each network of this computer: its own addresses only.
    for (const QString& entry : Entries(box))
        EXPECT_TRUE(QNetworkInterface::allAddresses().contains(QHostAddress(entry)))
            << entry.toStdString();

    // The server never offers itself: what another sends later is all it lists.
    Send(Loopback(9), port, Announcing(port, "other"));
    ASSERT_TRUE(WaitFor([&] { return server.window.Combo1->count() > 0; }));
    EXPECT_EQ(Entries(server.window.Combo1), QStringList{Loopback(9)});

    // Announcing stops on connect, and on close.
    const auto silent = [&] {
        WaitFor([] { return false; }, 200);
        while (probe.hasPendingDatagrams())
            probe.receiveDatagram();
        return !WaitFor([&] { return probe.hasPendingDatagrams(); }, 1300);
    };
    box->setCurrentIndex(box->findText(QStringLiteral("127.0.0.1")));
    client.window.mnuClient_Click();
    ASSERT_TRUE(WaitFor([&] { return server.window.connection().Connected(); }));
    EXPECT_EQ(client.window.HostText, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(silent());
    server.window.mnuClose_Click();
    server.window.mnuServer_Click();
    ASSERT_TRUE(WaitFor([&] { return probe.hasPendingDatagrams(); }));
    server.window.mnuClose_Click();
    EXPECT_TRUE(silent());
    server.window.mnuServer_Click();
    server.window.FileExit();
    EXPECT_FALSE(server.window.serverFinder().announcing());
}

TEST(FindingAlone, SixteenServersAreKeptUntilTheyFallSilentAndTheFilesEntriesStay) {
    LoneCopy copy(1500, "127.0.0.1\r\n");
    QComboBox* box = copy.box();
    // Twenty servers at once, the first at the address the file lists.
    for (int n = 1; n <= 20; ++n)
        Send(Loopback(n), copy.port(), Announcing(copy.port(), "server"));
    ASSERT_TRUE(WaitFor([&] { return box->count() == 16; }));
    QStringList kept;
    for (int n = 16; n >= 1; --n)
        kept.append(Loopback(n));
    EXPECT_EQ(Entries(box), kept);
    EXPECT_EQ(box->currentText(), QStringLiteral("127.0.0.1"));

    // The player chooses one; one other server goes on announcing.
    box->setCurrentIndex(box->findText(Loopback(5)));
    QTimer again;
    QObject::connect(&again, &QTimer::timeout,
                     [&] { Send(Loopback(2), copy.port(), Announcing(copy.port(), "server")); });
    again.start(100);
    ASSERT_TRUE(WaitFor([&] { return box->count() == 2; }));
    EXPECT_EQ(Entries(box), (QStringList{Loopback(2), Loopback(1)}));
    again.stop();
    ASSERT_TRUE(WaitFor([&] { return box->count() == 1; }));
    EXPECT_EQ(Entries(box), QStringList{Loopback(1)});
    EXPECT_EQ(box->currentText(), Loopback(5));
    EXPECT_EQ(test::Contents(QDir(copy.env.programFolder()).filePath(QStringLiteral("Virir.txt"))),
              QByteArray("127.0.0.1\r\n"));
}

TEST(FindingAlone, OnlyWellFormedAnnouncementsForItsPortAndNoFloodAreTaken) {
    LoneCopy copy(ServerFinder::kLifetimeMs, {});
    QComboBox* box = copy.box();
    const quint16 port = copy.port();
    const QByteArray refused[] = {
        QByteArray("QUORIN-SERVER 2 ") + QByteArray::number(port) + " pc",
        Announcing(port + 1, "pc"),
        Announcing(port, "pc") + QByteArray(kAnnouncementLimit, 'x'),
        QByteArray("hello"),
        QByteArray(),
    };
    for (const QByteArray& datagram : refused)
        Send(Loopback(3), port, datagram);
    // The name is shown as written, without what would act instead of show.
    Send(Loopback(4), port, Announcing(port, "<b>pc</b>&amp;\x1B\xE2\x80\xAE"));
    ASSERT_TRUE(WaitFor([&] { return box->count() > 0; }));
    EXPECT_EQ(Entries(box), QStringList{Loopback(4)});
    EXPECT_EQ(ShownTip(box, Loopback(4)), QStringLiteral("<b>pc</b>&amp;"));

    // After a quiet second, a flood: more datagrams than a second's share, then a server.
    WaitFor([] { return false; }, 1100);
    for (int i = 0; i < ServerFinder::kHeardPerSecond + 6; ++i)
        Send(Loopback(3), port, "flood");
    Send(Loopback(5), port, Announcing(port, "pc"));
    WaitFor([] { return false; }, 1100);
    Send(Loopback(6), port, Announcing(port, "pc"));
    ASSERT_TRUE(WaitFor([&] { return box->count() > 1; }));
    EXPECT_EQ(Entries(box), (QStringList{Loopback(6), Loopback(4)}));
}
