#include "board/boardrenderer.h"
#include "board/pixelcopy.h"
#include "rules/position.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <QImageReader>

#include <random>

using namespace quorin;

namespace {

const QRgb kFill = qRgb(253, 252, 189);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kDragKey = qRgb(254, 126, 94);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGrey = qRgb(200, 200, 200);

// The back buffer of the board window as the program fills it, showing `board`.
BoardRenderer& Drawn(BoardRenderer& renderer, const Board& board) {
    renderer.CreateBackBuffer({600, 491});
    renderer.FillBackground({0, 0, 600, 491}, 10, QColor(kGrey));
    renderer.DrawBoard(board);
    return renderer;
}

class Renderer : public ::testing::Test {
protected:
    Renderer() { Drawn(renderer, start); }
    const QImage& back() const { return renderer.BackBuffer(); }

    const QSize piece = QImageReader(test::AssetsFolder() + "/po1.bmp").size();
    const BoardGeometry geometry = BoardGeometry::ForPieceSize(piece.width(), piece.height());
    const Board start = *ReadPosition(InitialPosition);
    BoardRenderer renderer{geometry, test::AssetsFolder()};
};

} // namespace

TEST_F(Renderer, BoardHasBorderGridFillAndPiecesWithoutTheirRed) {
    // Row 3 is empty: two border pixels, a one-pixel grid, the fill up to the lines.
    const int right = 70 + geometry.BoardWidth, bottom = 10 + geometry.BoardHeight;
    for (int y = 10 + 3 * geometry.CellHeight; y <= 10 + 4 * geometry.CellHeight; ++y)
        for (int x = 68; x <= right + 2; ++x) {
            const bool line = x == 69 || x == right + 1 || (x - 70) % geometry.CellWidth == 0 ||
                              (y - 10) % geometry.CellHeight == 0;
            const QRgb expected = x == 68 || x == right + 2 ? kGrey : line ? kBlack : kFill;
            ASSERT_EQ(back().pixel(x, y), expected) << x << "," << y;
        }
    for (int y : {8, 9, 10, bottom, bottom + 1, bottom + 2})
        EXPECT_EQ(back().pixel(75, y), y == 8 || y == bottom + 2 ? kGrey : kBlack) << y;

    // A piece stands one pixel inside the grid; its red shows the fill.
    const QImage king(test::AssetsFolder() + "/ki1.bmp");
    const QPoint at(71 + 4 * geometry.CellWidth, 11 + 7 * geometry.CellHeight);
    for (int y = 0; y < king.height(); ++y)
        for (int x = 0; x < king.width(); ++x)
            ASSERT_EQ(back().pixel(at + QPoint(x, y)),
                      king.pixel(x, y) == kRed ? kFill : king.pixel(x, y))
                << x << "," << y;
    for (int y = 9; y <= bottom + 1; ++y)
        for (int x = 69; x <= right + 1; ++x)
            ASSERT_NE(back().pixel(x, y), kRed) << x << "," << y;
}

TEST(PixelCopy, PureRedAtHalfOpacityOverTheFillGivesTheDragKey) {
    QImage fill(2, 2, QImage::Format_RGB32), red(2, 2, QImage::Format_RGB32);
    fill.fill(kFill);
    red.fill(kRed);
    BlendArea(fill, {0, 0}, red, red.rect(), 128);
    EXPECT_EQ(fill.pixel(1, 1), kDragKey);
}

// Each drag frame repaints only the old and new place, yet shows the whole picture anew.
TEST_F(Renderer, DragFramesShowTheHalfTransparentPieceAndReturningRestores) {
    const QImage before = back().copy();
    renderer.LiftPiece({3, 7});
    renderer.ReturnPiece({3, 7}, "qu1"); // released without moving the mouse
    EXPECT_EQ(back(), before);
    renderer.EndDrag();

    // The queen blended at 128/255 over an empty square, its red left out.
    QImage ghost(test::AssetsFolder() + "/qu1.bmp");
    const auto mix = [](int s, int d) { return (s * 128 + d * 127 + 127) / 255; };
    for (int y = 0; y < ghost.height(); ++y)
        for (int x = 0; x < ghost.width(); ++x) {
            const QRgb p = ghost.pixel(x, y);
            const QRgb half = qRgb(mix(qRed(p), 253), mix(qGreen(p), 252), mix(qBlue(p), 189));
            ghost.setPixel(x, y, p == kRed ? kDragKey : half);
        }

    renderer.LiftPiece({3, 7});
    const QImage lifted = back().copy();
    EXPECT_EQ(lifted.pixel(geometry.piecePosition({3, 7}) + QPoint(20, 20)), kFill);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(-30, 630), y(-30, 520);
    QRect previous;
    for (int frame = 0; frame < 60; ++frame) {
        const QPoint mouse(x(rng), y(rng));
        renderer.TakeChanges();
        renderer.DrawDraggedPiece("qu1", mouse);
        const QPoint corner = mouse - QPoint(geometry.PieceWidth, geometry.PieceHeight) / 2;
        QImage expected = lifted.copy();
        CopyAreaKeyed(expected, corner, ghost, ghost.rect(), kDragKey);
        ASSERT_EQ(back(), expected) << "frame " << frame;
        const QRect place = QRect(corner, ghost.size()).intersected(back().rect());
        EXPECT_EQ(renderer.TakeChanges(), QRegion(previous).united(place)) << "frame " << frame;
        previous = place;
    }
    renderer.ReturnPiece({3, 7}, "qu1");
    EXPECT_EQ(back(), before);
}

TEST_F(Renderer, MovesAndRedrawsShowWhatAWholeDrawingShows) {
    // A knight takes a pawn after a drag across the board.
    Board board = start;
    board.set({5, 5}, 6);
    renderer.DrawBoard(board);
    renderer.LiftPiece({6, 7});
    renderer.DrawDraggedPiece("ni1", {330, 300});
    renderer.DrawMove({6, 7}, {5, 5}, "ni1");
    renderer.EndDrag();
    board.set({6, 7}, kEmptyCode);
    board.set({5, 5}, 2);
    BoardRenderer fresh(geometry, test::AssetsFolder()); // draws each board whole, anew
    EXPECT_EQ(back(), Drawn(fresh, board).BackBuffer());

    // Positions that follow one another redraw only what differs, with the same pixels.
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> cell(0, 63), code(0, kEmptyCode);
    for (int step = 0; step < 30; ++step) {
        for (int n = step % 4; n >= 0; --n)
            board.set(SquareAt(cell(rng)), code(rng));
        renderer.TakeChanges();
        renderer.DrawBoard(board);
        EXPECT_LE(renderer.TakeChanges().rectCount(), 4) << step;
        ASSERT_EQ(back(), Drawn(fresh, board).BackBuffer()) << step;
    }
}

TEST_F(Renderer, SwappingTheStripExchangesItsHalvesAndTwiceRestoresIt) {
    const QImage strip = renderer.StripSurface().copy(), before = back().copy();
    const int half = 6 * geometry.PieceWidth, height = geometry.PieceHeight;
    renderer.SwapStripHalves();
    EXPECT_EQ(renderer.StripSurface().copy(0, 0, half, height), strip.copy(half, 0, half, height));
    EXPECT_EQ(renderer.StripSurface().copy(half, 0, half, height), strip.copy(0, 0, half, height));
    renderer.DrawBoard(start); // the local king now looks like the opponent's
    EXPECT_EQ(back().copy(geometry.pieceRect({4, 7})), before.copy(geometry.pieceRect({4, 0})));
    renderer.SwapStripHalves();
    EXPECT_EQ(renderer.StripSurface(), strip);
}

TEST(RendererWithoutPictures, MissingPicturesDrawNothing) {
    BoardRenderer renderer(BoardGeometry::ForPieceSize(0, 0), "/nonexistent-folder");
    const QImage before = Drawn(renderer, *ReadPosition(InitialPosition)).BackBuffer().copy();
    EXPECT_EQ(before.pixel(70, 10), kBlack);
    renderer.DrawDraggedPiece("qu1", {100, 100});
    renderer.DrawMove({3, 7}, {3, 3}, "qu1");
    EXPECT_EQ(renderer.BackBuffer(), before);
}
