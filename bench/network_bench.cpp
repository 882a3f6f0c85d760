// The acknowledgement round trip between two copies over loopback, against a bare Qt
// socket echo of the same size. Each far end runs in a process of its own, as a player's
// copy does: it answers the message, then acts on it and draws.

#include "app/form1.h"
#include "net/connection.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "support/testenvironment.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QTcpSocket>

namespace {

using namespace quorin;

void Spin(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// A far end in its own process; it ends when this object goes.
class Peer {
public:
    Peer(const char* mode, quint16 port) {
        process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/network_peer"),
                       {QString::fromLatin1(mode), QString::number(port)});
        process_.waitForReadyRead(10000);
    }
    ~Peer() {
        process_.closeWriteChannel();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};

// This side: a copy connected as client to a copy serving in another process.
struct Game {
    quint16 port = test::FreePort();
    Peer peer{"quorin", port};
    test::TestEnvironment env{port};
    Form1 window{env.environment()};

    Game() {
        window.show();
        Spin([&] { return window.BoardReady(); });
        window.Combo1->setEditText(QStringLiteral("127.0.0.1"));
        window.mnuClient_Click();
        Spin([&] { return window.connection().Connected(); });
    }
};

// A chat text has no mark of its end: the receiver answers it once the link has been quiet
// for the framer's quiet time, which this round trip is made of.
void BM_QuorinChatAckRoundTrip(benchmark::State& state) {
    Game game;
    Connection& link = game.window.connection();
    const std::u16string chat = ChatMessage(u"よろしく");
    for (auto _ : state) {
        link.AwaitingAck = true;
        link.SendData(chat);
        Spin([&] { return !link.AwaitingAck; });
    }
}
BENCHMARK(BM_QuorinChatAckRoundTrip)->UseRealTime();

// A move and its acknowledgement: the peer takes over the position, redraws the squares,
// sounds, checks for check and answers. A knight hops out and back, so it never ends.
void BM_QuorinMoveAckRoundTrip(benchmark::State& state) {
    Game game;
    Form1& mover = game.window;
    for (auto _ : state) {
        Board& board = mover.game().board;
        const bool out = board.name({6, 7}) == "ni1";
        const Square from = out ? Square{6, 7} : Square{5, 5};
        const Square to = out ? Square{5, 5} : Square{6, 7};
        board.set(to, board.at(from));
        board.set(from, kEmptyCode);
        mover.connection().AwaitingAck = true;
        mover.moveExchange().SendMove();
        Spin([&] { return !mover.connection().AwaitingAck; });
    }
}
BENCHMARK(BM_QuorinMoveAckRoundTrip)->UseRealTime();

void BM_BareSocketEcho(benchmark::State& state) {
    const quint16 port = test::FreePort();
    Peer peer("echo", port);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    Spin([&] { return client.state() == QAbstractSocket::ConnectedState; });
    client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const std::string bytes = EncodeMessage(ChatMessage(u"よろしく"));
    qint64 received = 0;
    QObject::connect(&client, &QTcpSocket::readyRead, [&] { received += client.readAll().size(); });
    for (auto _ : state) {
        received = 0;
        client.write(bytes.data(), qint64(bytes.size()));
        client.flush();
        Spin([&] { return received >= qint64(bytes.size()); });
    }
}
BENCHMARK(BM_BareSocketEcho)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
