// The acknowledgement round trip between two copies over loopback, and as its yardstick
// a bare Qt socket echo of the same size in the same event loop.

#include "app/form1.h"
#include "net/connection.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "support/testenvironment.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

using namespace quorin;

void Spin(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

struct ConnectedPair {
    quint16 port = test::FreePort();
    test::TestEnvironment serverEnv{port}, clientEnv{port};
    Form1 server{serverEnv.environment()}, client{clientEnv.environment()};

    ConnectedPair() {
        server.show();
        client.show();
        Spin([&] { return server.BoardReady() && client.BoardReady(); });
        server.mnuServer_Click();
        client.Combo1->setEditText(QStringLiteral("127.0.0.1"));
        client.mnuClient_Click();
        Spin([&] { return server.connection().Connected() && client.connection().Connected(); });
    }
};

void BM_QuorinChatAckRoundTrip(benchmark::State& state) {
    ConnectedPair pair;
    Connection& link = pair.client.connection();
    const std::u16string chat = ChatMessage(u"よろしく");
    for (auto _ : state) {
        link.AwaitingAck = true;
        link.SendData(chat);
        Spin([&] { return !link.AwaitingAck; });
    }
}
BENCHMARK(BM_QuorinChatAckRoundTrip)->UseRealTime();

// One move each way per iteration: the mover sends, the peer redraws its board and
// answers; then the other way round.
void BM_QuorinMoveAckRoundTrip(benchmark::State& state) {
    ConnectedPair pair;
    Form1* side[2] = {&pair.server, &pair.client};
    int turn = 0;
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i, turn ^= 1) {
            Form1& mover = *side[turn];
            Board& board = mover.game().board;
            // A knight hops out and back, so the game can go on for ever.
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
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_QuorinMoveAckRoundTrip)->UseRealTime();

void BM_BareSocketEcho(benchmark::State& state) {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    QTcpSocket* echo = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        echo = server.nextPendingConnection();
        echo->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(echo, &QTcpSocket::readyRead, [&] { echo->write(echo->readAll()); });
    });
    QTcpSocket client;
    client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    Spin([&] { return echo != nullptr && client.state() == QAbstractSocket::ConnectedState; });
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
