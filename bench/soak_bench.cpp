// Two hundred games of random legal moves between two copies over loopback, the link cut and
// the game resumed in a third of them, as the soak test plays them: moves per second, and
// the resident memory before the first game and after the last. The goal is memory after
// the games within 2 MiB of the start.

#include "app/randomgames.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QRegularExpression>

namespace {

using namespace quorin;

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression rss(QStringLiteral("VmRSS:\\s*(\\d+)"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
}

void BM_TwoHundredGames(benchmark::State& state) {
    const quint16 port = test::FreePort();
    test::Player server(port), client(port);
    test::RandomGames games(server, client, 20261208);
    games.Connect(false);
    // One game first, so what every game needs once (pictures, fonts) is already there.
    games.Play(false);
    const long before = ResidentKiB();
    const int warmUp = games.moves();
    for (auto _ : state) {
        for (int game = 0; game < 200; ++game)
            if (!games.Play(game % 3 == 0))
                state.SkipWithError(games.failure.c_str());
    }
    state.counters["moves_per_s"] =
        benchmark::Counter(games.moves() - warmUp, benchmark::Counter::kIsRate);
    state.counters["cuts"] = games.cuts;
    state.counters["rss_start_KiB"] = double(before);
    state.counters["rss_end_KiB"] = double(ResidentKiB());
}
BENCHMARK(BM_TwoHundredGames)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
