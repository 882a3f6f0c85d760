#include "board/boardrenderer.h"
#include "board/pixelcopy.h"
#include "rules/position.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <QImageReader>

#include <random>

using namespace quorin;

namespace {

const QRgb kFill = BoardRenderer::kBoardFill;
const QRgb kBlack = qRgb(0, 0, 0);

QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

class Renderer : public ::testing::Test {
protected:
    Renderer() {
        const QSize piece = QImageReader(test::AssetsFolder() + QStringLiteral("/po1.bmp")).size();
        geometry = BoardGeometry::ForPieceSize(piece.width(), piece.height());
        renderer.emplace(geometry, test::AssetsFolder());
        renderer->CreateBackBuffer({600, 491});
        renderer->FillBackground({0, 0, 600, 491}, 10, QColor(200, 200, 200));
        start = *ReadPosition(InitialPosition);
        renderer->DrawBoard(start);
    }

    const QImage& back() const { return renderer->BackBuffer(); }

    // A piece picture as it is stored in its file.
    QImage Picture(const char* name) const {
        return QImage(test::AssetsFolder() + "/" + name + ".bmp")
            .convertToFormat(QImage::Format_RGB32);
    }

    BoardGeometry geometry;
    std::optional<BoardRenderer> renderer;
    Board start;
};

} // namespace

TEST_F(Renderer, BoardHasBorderGridAndFill) {
    const int right = 70 + geometry.BoardWidth;
    const int bottom = 10 + geometry.BoardHeight;
    // Two-pixel border on the edges, one-pixel grid lines between squares.
    for (int x : {69, 70, right, right + 1})
        EXPECT_EQ(Pixel(back(), x, 200), kBlack) << x;
    for (int y : {9, 10, bottom, bottom + 1})
        EXPECT_EQ(Pixel(back(), 200, y), kBlack) << y;
    EXPECT_NE(Pixel(back(), 68, 200), kBlack);
    EXPECT_NE(Pixel(back(), right + 2, 200), kBlack);
    for (int i = 1; i < 8; ++i) {
        EXPECT_EQ(Pixel(back(), 70 + i * geometry.CellWidth, 10 + 3 * geometry.CellHeight + 5),
                  kBlack);
        EXPECT_EQ(Pixel(back(), 75, 10 + i * geometry.CellHeight), kBlack);
    }
    // Every pixel inside an empty square is the fill, up to the grid lines.
    const QRect square(71, 11 + 3 * geometry.CellHeight, geometry.CellWidth - 1,
                       geometry.CellHeight - 1);
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x)
            ASSERT_EQ(Pixel(back(), x, y), kFill) << x << "," << y;
    // The background outside the board keeps its colour.
    EXPECT_EQ(Pixel(back(), 20, 20), qRgb(200, 200, 200));
}

TEST_F(Renderer, PiecesAreDrawnOnePixelInsideTheGridWithoutTheirRed) {
    const QImage king = Picture("ki1");
    const QPoint at = geometry.piecePosition({4, 7});
    int shown = 0;
    for (int y = 0; y < king.height(); ++y) {
        for (int x = 0; x < king.width(); ++x) {
            const QRgb p = Pixel(king, x, y);
            const QRgb drawn = Pixel(back(), at.x() + x, at.y() + y);
            if (p == BoardRenderer::kPieceKey) {
                ASSERT_EQ(drawn, kFill);
            } else {
                ASSERT_EQ(drawn, p);
                ++shown;
            }
        }
    }
    EXPECT_GT(shown, 100);
    // No pure red anywhere on the board.
    for (int y = 9; y < 12 + geometry.BoardHeight; ++y)
        for (int x = 69; x < 72 + geometry.BoardWidth; ++x)
            ASSERT_NE(Pixel(back(), x, y), BoardRenderer::kPieceKey) << x << "," << y;
}

TEST(PixelCopy, BlendOfPureRedOverTheFillIsTheDragKey) {
    QImage fill(4, 4, QImage::Format_RGB32);
    fill.fill(BoardRenderer::kBoardFill);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    BlendArea(fill, {0, 0}, red, red.rect(), BoardRenderer::kDragOpacity);
    EXPECT_EQ(Pixel(fill, 2, 2), BoardRenderer::kDragKey);
}

TEST_F(Renderer, DraggedPieceIsHalfTransparentWithoutItsBackground) {
    const QImage queen = Picture("qu1");
    renderer->LiftPiece({3, 7});
    const QPoint mouse(300, 200);
    renderer->DrawDraggedPiece("qu1", mouse);
    const QPoint corner(mouse.x() - geometry.PieceWidth / 2, mouse.y() - geometry.PieceHeight / 2);
    const QImage& saved = renderer->SavedSurface();
    for (int y = 0; y < queen.height(); ++y) {
        for (int x = 0; x < queen.width(); ++x) {
            const QRgb p = Pixel(queen, x, y);
            const QRgb drawn = Pixel(back(), corner.x() + x, corner.y() + y);
            if (p == BoardRenderer::kPieceKey) {
                ASSERT_EQ(drawn, Pixel(saved, corner.x() + x, corner.y() + y));
                continue;
            }
            auto mix = [](int s, int d) { return (s * 128 + d * 127 + 127) / 255; };
            ASSERT_EQ(drawn, qRgb(mix(qRed(p), qRed(kFill)), mix(qGreen(p), qGreen(kFill)),
                                  mix(qBlue(p), qBlue(kFill))));
        }
    }
    // The lifted piece's square shows an empty square.
    EXPECT_EQ(Pixel(back(), geometry.piecePosition({3, 7}).x() + 20,
                    geometry.piecePosition({3, 7}).y() + 20),
              kFill);
}

// Each drag frame repaints only the piece's old and new place; the back buffer must hold
// exactly what copying the whole saved picture back at every frame would give.
TEST_F(Renderer, DragFramesEqualWholePictureCopies) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(-30, 630), y(-30, 520);
    renderer->LiftPiece({1, 7});
    QImage reference;
    QRect previous;
    for (int frame = 0; frame < 60; ++frame) {
        const QPoint mouse(x(rng), y(rng));
        renderer->TakeChanges();
        renderer->DrawDraggedPiece("ni1", mouse);
        const QRegion repaint = renderer->TakeChanges();
        if (reference.isNull())
            reference = renderer->SavedSurface().copy(0, 0, 600, 491);
        QImage expected = reference.copy();
        QImage scratch =
            renderer->BlankSurface().copy(0, 0, geometry.PieceWidth, geometry.PieceHeight);
        BlendArea(scratch, {0, 0}, renderer->StripSurface(),
                  QRect(geometry.StripOffsets[2], 0, geometry.PieceWidth, geometry.PieceHeight),
                  128);
        const QPoint corner(mouse.x() - geometry.PieceWidth / 2,
                            mouse.y() - geometry.PieceHeight / 2);
        CopyAreaKeyed(expected, corner, scratch, scratch.rect(), BoardRenderer::kDragKey);
        ASSERT_EQ(back(), expected) << "frame " << frame;
        // Only the piece's last and new places are repainted.
        const QRect place = QRect(corner, scratch.size()).intersected(back().rect());
        EXPECT_EQ(repaint, QRegion(previous).united(place)) << "frame " << frame;
        previous = place;
    }
    renderer->ReturnPiece({1, 7}, "ni1");
    EXPECT_TRUE(renderer->TakeChanges().contains(geometry.pieceRect({1, 7})));
}

TEST_F(Renderer, ReturnedPieceRestoresThePicture) {
    const QImage before = back().copy();
    renderer->LiftPiece({6, 7});
    renderer->ReturnPiece({6, 7}, "ni1"); // released without moving the mouse
    EXPECT_EQ(back(), before);
    renderer->EndDrag();

    renderer->LiftPiece({6, 7});
    renderer->DrawDraggedPiece("ni1", {150, 150});
    renderer->DrawDraggedPiece("ni1", {250, 260});
    renderer->ReturnPiece({6, 7}, "ni1");
    EXPECT_EQ(back(), before);
}

// What a freshly made renderer draws for `board`: the whole board at once.
QImage DrawnWhole(const BoardGeometry& geometry, const Board& board) {
    BoardRenderer fresh(geometry, test::AssetsFolder());
    fresh.CreateBackBuffer({600, 491});
    fresh.FillBackground({0, 0, 600, 491}, 10, QColor(200, 200, 200));
    fresh.DrawBoard(board);
    return fresh.BackBuffer().copy();
}

TEST_F(Renderer, MovesAndRedrawsShowWhatAWholeDrawingShows) {
    // A knight takes a pawn after a drag across the board.
    Board board = start;
    board.set({5, 5}, 6);
    renderer->DrawBoard(board);
    renderer->LiftPiece({6, 7});
    renderer->DrawDraggedPiece("ni1", {330, 300});
    renderer->DrawDraggedPiece("ni1", {320, 290});
    renderer->TakeChanges();
    renderer->DrawMove({6, 7}, {5, 5}, "ni1");
    renderer->EndDrag();
    const QRegion repaint = renderer->TakeChanges();
    board.set({6, 7}, kEmptyCode);
    board.set({5, 5}, 2);
    EXPECT_EQ(back(), DrawnWhole(geometry, board));
    // Only the two squares and the piece's last place in the drag are repainted.
    EXPECT_TRUE(repaint.contains(geometry.pieceRect({6, 7})));
    EXPECT_TRUE(repaint.contains(geometry.pieceRect({5, 5})));
    EXPECT_FALSE(repaint.contains(geometry.pieceRect({0, 0})));

    // Positions that follow one another redraw only what differs, with the same pixels.
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> cell(0, 63), code(0, kEmptyCode);
    for (int step = 0; step < 30; ++step) {
        for (int n = step % 4; n >= 0; --n)
            board.set(SquareAt(cell(rng)), code(rng));
        renderer->DrawBoard(board);
        const QRegion changed = renderer->TakeChanges();
        ASSERT_EQ(back(), DrawnWhole(geometry, board)) << step;
        EXPECT_LE(changed.rectCount(), 4) << step;
    }
}

TEST_F(Renderer, SwappedStripDrawsEachSideWithTheOtherSetAndSwapsBack) {
    const QImage strip = renderer->StripSurface().copy();
    const int half = 6 * geometry.PieceWidth;
    renderer->SwapStripHalves();
    EXPECT_EQ(renderer->StripSurface().copy(0, 0, half, geometry.PieceHeight),
              strip.copy(half, 0, half, geometry.PieceHeight));
    EXPECT_EQ(renderer->StripSurface().copy(half, 0, half, geometry.PieceHeight),
              strip.copy(0, 0, half, geometry.PieceHeight));
    renderer->DrawBoard(start);
    const QPoint at = geometry.piecePosition({4, 7});
    const QImage blackKing = Picture("ki2");
    EXPECT_EQ(back().copy(QRect(at, blackKing.size())).pixel(24, 30), blackKing.pixel(24, 30));
    renderer->SwapStripHalves();
    EXPECT_EQ(renderer->StripSurface(), strip);
}

TEST(RendererWithoutPictures, MissingPicturesDrawNothing) {
    const BoardGeometry g = BoardGeometry::ForPieceSize(0, 0);
    BoardRenderer renderer(g, QStringLiteral("/nonexistent-folder"));
    renderer.CreateBackBuffer({600, 491});
    renderer.DrawBoard(*ReadPosition(InitialPosition));
    EXPECT_TRUE(renderer.StripLoaded());
    EXPECT_EQ(Pixel(renderer.BackBuffer(), 70, 10), kBlack);
    // Pieces without a size: dragging and moving leave the picture as it is.
    const QImage before = renderer.BackBuffer().copy();
    renderer.DrawDraggedPiece("qu1", {100, 100});
    renderer.DrawMove({3, 7}, {3, 3}, "qu1");
    EXPECT_EQ(renderer.BackBuffer(), before);
}
