// The cost of one drag frame in the shown main window against, as its yardstick, one
// repaint of the whole client area of the same window. Both are measured as the window
// does them: the frame is a real mouse move over the board with a piece held, followed by
// the paint of the area the move changed; the yardstick is a repaint of the whole board
// widget, which draws the whole back buffer (and the controls below the board).
//
// The paint of a frame happens the way the event loop does it: the move asks for an
// update of the changed area, and delivering the posted events (the window's update
// request among them) paints that area at once. A paint counter on the board widget
// confirms that every frame was painted, and counts the pixels painted.
//
// At the end the ratio of the two mean times is printed: the goal is a drag frame that
// costs at most a tenth of the whole copy.

#include "app/form1.h"
#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "support/testenvironment.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPaintEvent>
#include <QTest>

#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace quorin;

constexpr const char* kDragFrame = "BM_DragFrame";
constexpr const char* kWholeClientRepaint = "BM_WholeClientRepaint";

// Counts the paints of one widget and adds up the area they painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }

    int paints = 0;
    qint64 paintedPixels = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                paintedPixels += qint64(r.width()) * r.height();
        }
        return false;
    }
};

// One copy of the program with its window shown, active and its board set up.
class ShownWindow {
public:
    ShownWindow() : paints_(window_.boardWidget()) {
        window_.show();
        window_.activateWindow();
        ready_ = test::WaitFor([this] { return window_.BoardReady() && window_.isActiveWindow(); });
    }

    bool ready() const { return ready_; }
    Form1& window() { return window_; }
    BoardWidget& board() { return window_.boardWidget(); }
    const PaintCounter& paints() const { return paints_; }

    // Delivers the posted events, as each pass of the event loop does: among them the
    // window's update request, which paints the areas asked for. Answers whether the
    // board widget was painted. (Delivering the update request alone would leave the
    // delivered entries in the queue, which would then grow with every frame.)
    bool PaintPending() {
        const int before = paints_.paints;
        QCoreApplication::sendPostedEvents();
        if (paints_.paints == before) // not posted yet: let the whole loop run
            test::WaitFor([&] { return paints_.paints != before; }, 1000);
        return paints_.paints != before;
    }

private:
    test::TestEnvironment env_;
    Form1 window_{env_.environment()};
    PaintCounter paints_;
    bool ready_ = false;
};

// The mouse wanders over the board a few pixels at a time, never leaving it.
QPoint Wander(const BoardGeometry& g, int step) {
    const int x = BoardGeometry::kLeft + (step * 7) % g.BoardWidth;
    const int y = BoardGeometry::kTop + (step * 3) % g.BoardHeight;
    return {x, y};
}

void SetPaintCounters(benchmark::State& state, const PaintCounter& paints, int paintsBefore,
                      qint64 pixelsBefore) {
    const auto iterations = double(state.iterations());
    state.counters["paints"] = double(paints.paints - paintsBefore) / iterations;
    state.counters["px_painted"] = double(paints.paintedPixels - pixelsBefore) / iterations;
}

void DragFrame(benchmark::State& state, ShownWindow& shown) {
    BoardWidget& board = shown.board();
    const BoardGeometry& g = shown.window().renderer().geometry();
    const Square from{3, 7}; // the white queen
    const QPoint grip = g.pieceRect(from).center();
    if (shown.window().moveInput().PieceAtPoint(grip) != "qu1") {
        state.SkipWithError("the white queen is not on its starting square");
        return;
    }
    QTest::mousePress(&board, Qt::LeftButton, {}, grip);
    if (!shown.window().moveInput().drag().Dragging) {
        state.SkipWithError("the press did not pick the piece up");
        return;
    }
    // The first move of a drag saves the whole client picture once; keep it out of the
    // frames measured.
    QTest::mouseMove(&board, grip + QPoint(1, 1));
    shown.PaintPending();

    const int paintsBefore = shown.paints().paints;
    const qint64 pixelsBefore = shown.paints().paintedPixels;
    int step = 0;
    for (auto _ : state) {
        QTest::mouseMove(&board, Wander(g, step++));
        if (!shown.PaintPending()) {
            state.SkipWithError("a drag frame was not painted");
            break;
        }
    }
    SetPaintCounters(state, shown.paints(), paintsBefore, pixelsBefore);

    // Back on its own square and let go: no move, the board is as before.
    QTest::mouseMove(&board, grip);
    QTest::mouseRelease(&board, Qt::LeftButton, {}, grip);
    shown.PaintPending();
}

void WholeClientRepaint(benchmark::State& state, ShownWindow& shown) {
    BoardWidget& board = shown.board();
    const int paintsBefore = shown.paints().paints;
    const qint64 pixelsBefore = shown.paints().paintedPixels;
    for (auto _ : state)
        board.repaint();
    SetPaintCounters(state, shown.paints(), paintsBefore, pixelsBefore);
}

// The console output as usual, keeping each benchmark's mean real time per iteration:
// over all its repetitions, or their "mean" aggregate when only aggregates are reported.
class MeanKeeper : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            Mean& mean = means_[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                mean.seconds += run.real_accumulated_time;
                mean.iterations += double(run.iterations);
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
                mean.aggregateNs = run.GetAdjustedRealTime() /
                                   benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            }
        }
    }

    // In nanoseconds; 0 for a benchmark not run.
    double MeanNs(const std::string& name) const {
        const auto it = means_.find(name);
        if (it == means_.end())
            return 0;
        const Mean& mean = it->second;
        return mean.iterations > 0 ? mean.seconds * 1e9 / mean.iterations : mean.aggregateNs;
    }

private:
    struct Mean {
        double seconds = 0;
        double iterations = 0;
        double aggregateNs = 0;
    };
    std::map<std::string, Mean> means_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    ShownWindow shown;
    if (!shown.ready()) {
        std::fprintf(stderr, "the window did not show its board\n");
        return 1;
    }
    benchmark::RegisterBenchmark(kDragFrame,
                                 [&shown](benchmark::State& s) { DragFrame(s, shown); });
    benchmark::RegisterBenchmark(kWholeClientRepaint,
                                 [&shown](benchmark::State& s) { WholeClientRepaint(s, shown); });

    MeanKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double frame = reporter.MeanNs(kDragFrame);
    const double whole = reporter.MeanNs(kWholeClientRepaint);
    if (frame > 0 && whole > 0) {
        std::printf("drag frame %.0f ns, whole client copy %.0f ns\n", frame, whole);
        std::printf("drag frame / whole client copy = %.3f\n", frame / whole);
    }
    return 0;
}
