// Move checks per second: every local piece of a set of positions tried on every square
// that does not hold a local piece, the way a drop on the board asks the rules.

#include "rules/movecheck.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace quorin;
using quorin::test::Diagram;

namespace {

struct Candidate {
    const Board* board;
    Square from;
    Square to;
};

std::vector<Board> Positions() {
    return {
        *ReadPosition(InitialPosition),
        Diagram("r...k..r"
                "ppp..ppp"
                "..nbbn.."
                "...qp..."
                "...PQ..."
                "..NB.N.."
                "PPP..PPP"
                "R.B.K..R"),
        Diagram("....k..."
                "..r....."
                "........"
                ".b...n.."
                "........"
                "..N.B..."
                "...PK..q"
                "........"),
        Diagram("rn...rk."
                "pp..qppp"
                "..p.pn.."
                "...p...."
                "..PP.B.."
                "..N.PN.."
                "PP.Q.PPP"
                "R...KB.R"),
        Diagram("......k."
                "......pp"
                "........"
                "........"
                "........"
                "........"
                ".....PPP"
                "...R..K."),
    };
}

std::vector<Candidate> Candidates(const std::vector<Board>& boards) {
    std::vector<Candidate> out;
    for (const Board& board : boards) {
        for (int from = 0; from < 64; ++from) {
            if (!IsLocal(board.at(SquareAt(from))))
                continue;
            for (int to = 0; to < 64; ++to) {
                if (!IsLocal(board.at(SquareAt(to))))
                    out.push_back({&board, SquareAt(from), SquareAt(to)});
            }
        }
    }
    return out;
}

void BM_MoveCheck(benchmark::State& state) {
    const std::vector<Board> boards = Positions();
    const std::vector<Candidate> candidates = Candidates(boards);
    std::int64_t checks = 0;
    for (auto _ : state) {
        for (const Candidate& c : candidates) {
            const MoveVerdict verdict =
                IsMoveAllowed(*c.board, c.to, c.from, c.board->name(c.from));
            benchmark::DoNotOptimize(verdict);
        }
        checks += static_cast<std::int64_t>(candidates.size());
    }
    state.counters["checks/s"] =
        benchmark::Counter(static_cast<double>(checks), benchmark::Counter::kIsRate);
    state.counters["candidates"] = static_cast<double>(candidates.size());
}
BENCHMARK(BM_MoveCheck);

} // namespace
