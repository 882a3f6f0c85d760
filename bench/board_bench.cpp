// The cost of drawing: one frame of a dragged piece following the mouse, one full redraw
// of the board with its pieces, and, as the yardstick, one copy of the whole client area.

#include "board/boardrenderer.h"
#include "board/pixelcopy.h"
#include "rules/position.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

using namespace quorin;

BoardRenderer ReadyRenderer() {
    BoardRenderer renderer(BoardGeometry::ForPieceSize(48, 48), QStringLiteral(QUORIN_ASSETS));
    renderer.CreateBackBuffer({600, 491});
    renderer.FillBackground({0, 0, 600, 491}, 10, Qt::lightGray);
    renderer.DrawBoard(*ReadPosition(InitialPosition));
    return renderer;
}

void BM_DragFrame(benchmark::State& state) {
    BoardRenderer renderer = ReadyRenderer();
    renderer.LiftPiece({3, 7});
    int step = 0;
    for (auto _ : state) {
        // The mouse wanders over the board a few pixels at a time.
        const QPoint mouse(100 + (step * 7) % 380, 60 + (step * 3) % 360);
        renderer.DrawDraggedPiece("qu1", mouse);
        benchmark::DoNotOptimize(renderer.TakeChanges());
        ++step;
    }
}
BENCHMARK(BM_DragFrame);

void BM_FullBoardRedraw(benchmark::State& state) {
    BoardRenderer renderer = ReadyRenderer();
    const Board board = *ReadPosition(InitialPosition);
    for (auto _ : state) {
        // Painting outside the board makes the next drawing start from a blank board.
        renderer.FillBackground({0, 0, 1, 1}, 0, Qt::lightGray);
        renderer.DrawBoard(board);
        benchmark::DoNotOptimize(renderer.TakeChanges());
    }
}
BENCHMARK(BM_FullBoardRedraw);

// A received move: the board already drawn, two squares change.
void BM_MoveRedraw(benchmark::State& state) {
    BoardRenderer renderer = ReadyRenderer();
    Board boards[2] = {*ReadPosition(InitialPosition), *ReadPosition(InitialPosition)};
    boards[1].set({4, 6}, kEmptyCode);
    boards[1].set({4, 4}, 0);
    int i = 0;
    for (auto _ : state) {
        renderer.DrawBoard(boards[i ^= 1]);
        benchmark::DoNotOptimize(renderer.TakeChanges());
    }
}
BENCHMARK(BM_MoveRedraw);

void BM_WholeClientCopy(benchmark::State& state) {
    BoardRenderer renderer = ReadyRenderer();
    QImage window(600, 491, QImage::Format_RGB32);
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyArea(window, {0, 0}, renderer.BackBuffer(), {0, 0, 600, 491}));
}
BENCHMARK(BM_WholeClientCopy);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
