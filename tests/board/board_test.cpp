#include "board/boardrenderer.h"
#include "board/clocks.h"
#include "board/jikan.h"
#include "board/pixelcopy.h"
#include "rules/gamestate.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <random>

using namespace quorin;

namespace {

const QRgb kFill = qRgb(253, 252, 189), kRed = qRgb(255, 0, 0), kDragKey = qRgb(254, 126, 94);
const QRgb kBlack = qRgb(0, 0, 0), kGrey = qRgb(200, 200, 200);

QImage Picture(const char* name) {
    return QImage(test::AssetsFolder() + "/" + name + ".bmp").convertToFormat(QImage::Format_RGB32);
}

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

    const QSize piece = Picture("po1").size();
    const BoardGeometry geometry = BoardGeometry::ForPieceSize(piece.width(), piece.height());
    const Board start = *ReadPosition(InitialPosition);
    BoardRenderer renderer{geometry, test::AssetsFolder()};
};

} // namespace

TEST_F(Renderer, BoardHasBorderGridFillAndPiecesOfEitherSideWithoutTheirRed) {
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
    const QImage king = Picture("ki1");
    for (int y = 0; y < king.height(); ++y)
        for (int x = 0; x < king.width(); ++x)
            ASSERT_EQ(back().pixel(geometry.piecePosition({4, 7}) + QPoint(x, y)),
                      king.pixel(x, y) == kRed ? kFill : king.pixel(x, y))
                << x << "," << y;
    // The second set shows each side's pieces as the other's; asked for again, it changes
    // nothing; the first set is as before.
    const QImage strip = renderer.StripSurface().copy(), before = back().copy();
    EXPECT_TRUE(renderer.UsePictureSet(BoardRenderer::PictureSet::Second));
    EXPECT_FALSE(renderer.UsePictureSet(BoardRenderer::PictureSet::Second));
    renderer.DrawBoard(start);
    for (int d = 0; d < 64; ++d)
        EXPECT_EQ(back().copy(geometry.pieceRect(SquareAt(d))),
                  before.copy(geometry.pieceRect({d % 8, 7 - d / 8})))
            << d;
    EXPECT_TRUE(renderer.UsePictureSet(BoardRenderer::PictureSet::First));
    EXPECT_EQ(renderer.StripSurface(), strip);
}

// Each drag frame repaints only the old and new place, yet shows the whole picture anew.
TEST_F(Renderer, DragFramesShowTheHalfTransparentPieceAndReturningRestores) {
    const QImage before = back().copy();
    // The queen blended at 128/255 over an empty square; its red turns into the drag key.
    QImage ghost(piece, QImage::Format_RGB32);
    ghost.fill(kFill);
    BlendArea(ghost, {0, 0}, Picture("qu1"), ghost.rect(), 128);
    EXPECT_EQ(ghost.pixel(0, 0), kDragKey); // pure red over the fill
    renderer.LiftPiece({3, 7});
    const QImage lifted = back().copy();
    EXPECT_EQ(lifted.copy(geometry.pieceRect({3, 7})), lifted.copy(geometry.pieceRect({3, 4})));
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
    // A knight moves after a drag across the board.
    Board board = start;
    renderer.LiftPiece({6, 7});
    renderer.DrawDraggedPiece("ni1", {330, 300});
    renderer.DrawMove({6, 7}, {5, 5}, "ni1");
    renderer.EndDrag();
    board.set({6, 7}, kEmptyCode);
    board.set({5, 5}, 2);
    BoardRenderer fresh(geometry, test::AssetsFolder()); // draws each board whole, anew
    EXPECT_EQ(back(), Drawn(fresh, board).BackBuffer());
    // Each square in turn, and one more, takes another piece: redrawn alone, as drawn anew.
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> cell(0, 63), other(1, kEmptyCode);
    for (int d = 0; d < 64; ++d) {
        for (const Square s : {SquareAt(d), SquareAt(cell(rng))})
            board.set(s, (board.at(s) + other(rng)) % kPieceCodeCount);
        renderer.TakeChanges();
        renderer.DrawBoard(board);
        EXPECT_LE(renderer.TakeChanges().rectCount(), 2) << d;
        ASSERT_EQ(back(), Drawn(fresh, board).BackBuffer()) << d;
    }
}

// Each tick counts for the player to move and draws both readings right of the board.
TEST_F(Renderer, TheClockOfThePlayerToMoveRunsAndReadsInHoursMinutesAndSeconds) {
    GameState game;
    QRegion drawn;
    Clocks clocks(renderer, game, [&] { drawn += renderer.TakeChanges(); });
    renderer.TakeChanges();
    clocks.tick();
    game.MyTurn = false;
    clocks.tick();
    clocks.tick();
    EXPECT_EQ(clocks.ClockCounters, (std::array<int, 2>{2, 1}));
    EXPECT_TRUE(drawn.boundingRect().contains(
        QRect(geometry.BoardWidth + 75, geometry.BoardHeight - 91, 99, 40)));
    clocks.stop();
    EXPECT_FALSE(clocks.Timer1.isActive());
    clocks.start(); // a game's first move: from zero, a tick a second
    EXPECT_EQ(clocks.ClockCounters, (std::array<int, 2>{0, 0}));
    EXPECT_EQ(clocks.Timer1.isActive() ? clocks.Timer1.interval() : 0, 1000);
    std::string texts;
    for (int ticks : {0, 3599, 3600, 3725, 36000})
        texts += Jikan(ticks) + " ";
    EXPECT_EQ(texts, "0h00m00s 0h59m59s 1h00m00s 1h02m05s 10h00m00s ");
}
