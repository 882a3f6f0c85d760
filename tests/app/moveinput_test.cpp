// Moving pieces with the mouse on one copy's board, without a peer.

#include "app/form1.h"
#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

using namespace quorin;

namespace {

class MouseOnBoard : public ::testing::Test {
protected:
    MouseOnBoard() : window(env.environment()) {
        window.show();
        test::WaitFor([&] { return window.BoardReady(); });
    }

    const BoardGeometry& g() { return window.renderer().geometry(); }
    QPoint Center(Square s) {
        return {70 + s.x * g().CellWidth + g().CellWidth / 2,
                10 + s.y * g().CellHeight + g().CellHeight / 2};
    }
    QWidget* board() { return &window.boardWidget(); }
    const QImage& back() { return window.renderer().BackBuffer(); }

    void Drag(Square from, QPoint to) {
        QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, Center(from));
        QTest::mouseMove(board(), to);
        QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, to);
    }

    test::TestEnvironment env;
    Form1 window;
};

} // namespace

TEST_F(MouseOnBoard, SquaresUnderThePointer) {
    const MoveInput& input = window.moveInput();
    const int right = 70 + g().BoardWidth;
    const int bottom = 10 + g().BoardHeight;
    EXPECT_EQ(input.PointToSquare({70, 10}), "00");
    EXPECT_EQ(input.PointToSquare({right - 1, bottom - 1}), "77");
    EXPECT_EQ(input.PointToSquare({70 + 3 * g().CellWidth, 10 + 4 * g().CellHeight}), "34");
    // The right and bottom border lines are off the board, as is everything beyond.
    EXPECT_EQ(input.PointToSquare({right, 100}), "");
    EXPECT_EQ(input.PointToSquare({100, bottom}), "");
    EXPECT_EQ(input.PointToSquare({69, 100}), "");
    EXPECT_EQ(input.PointToSquare({-5, -5}), "");
    EXPECT_EQ(input.PieceAtPoint(Center({4, 7})), "ki1");
    EXPECT_EQ(input.PieceAtPoint(Center({4, 0})), "ki2");
    EXPECT_EQ(input.PieceAtPoint(Center({4, 4})), "Dummy");
    EXPECT_EQ(input.PieceAtPoint({5, 5}), "");
    EXPECT_EQ(SquareFromText("34"), (Square{3, 4}));
    EXPECT_EQ(SquareFromText(""), (Square{0, 0}));
}

TEST_F(MouseOnBoard, OnlyOwnPiecesCanBePickedUp) {
    const QImage before = back().copy();
    for (QPoint press : {Center({3, 0}), Center({3, 4}), QPoint(20, 300), QPoint(590, 20)}) {
        QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, press);
        EXPECT_FALSE(window.moveInput().drag().Dragging);
        QTest::mouseMove(board(), {300, 200});
        QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, {300, 200});
        EXPECT_EQ(back(), before);
    }
    // Nor before the board is ready, nor off turn.
    window.game().MyTurn = false;
    QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, Center({4, 6}));
    EXPECT_FALSE(window.moveInput().drag().Dragging);
    QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, Center({4, 6}));
}

TEST_F(MouseOnBoard, TheLiftedPieceFollowsTheMouseAndComesBack) {
    const QImage before = back().copy();
    QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, Center({1, 7}));
    EXPECT_TRUE(window.moveInput().drag().Dragging);
    // Lifted from the back buffer: its square is empty there.
    EXPECT_EQ(back().pixel(Center({1, 7})), BoardRenderer::kBoardFill);
    QTest::mouseMove(board(), Center({4, 4}));
    EXPECT_NE(back().pixel(Center({4, 4})), BoardRenderer::kBoardFill);
    QTest::mouseMove(board(), Center({5, 3}));
    EXPECT_EQ(back().copy(g().pieceRect({4, 4})), before.copy(g().pieceRect({4, 4})));
    // Released off the board: back where it was.
    QTest::mouseMove(board(), {580, 30});
    QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, {580, 30});
    EXPECT_FALSE(window.moveInput().drag().Dragging);
    EXPECT_FALSE(window.renderer().SavedValid());
    EXPECT_EQ(back(), before);
    // Dropped on an own piece: back as well, with no rule asked.
    Drag({1, 7}, Center({3, 7}));
    EXPECT_EQ(back(), before);
    EXPECT_EQ(window.game().board.name({1, 7}), "ni1");
}

TEST_F(MouseOnBoard, WithoutAPeerThePlayerMovesAgainAndAgain) {
    Drag({4, 6}, Center({4, 4}));
    Drag({4, 4}, Center({4, 3}));
    Drag({6, 7}, Center({5, 5}));
    EXPECT_EQ(window.game().MoveNumber, 3);
    EXPECT_EQ(window.game().board.name({4, 3}), "po1");
    EXPECT_EQ(window.game().board.name({5, 5}), "ni1");
    EXPECT_TRUE(window.game().MyTurn);
    EXPECT_EQ(env.seams().soundPlays, 3);
    // What the board shows is the position, square for square.
    const QImage shown = back().copy();
    window.renderer().DrawBoard(window.game().board);
    EXPECT_EQ(back(), shown);

    // Rook and king moves switch castling off, side by side.
    const MainMenu& m = window.menu();
    window.game().board.set({0, 6}, kEmptyCode);
    Drag({0, 7}, Center({0, 5}));
    EXPECT_FALSE(m.nmuCastlingLeft->isEnabled());
    EXPECT_TRUE(m.nmuCastlingRight->isEnabled());
    EXPECT_TRUE(m.nmuCastling->menuAction()->isEnabled());
    Drag({4, 7}, Center({4, 6}));
    EXPECT_FALSE(m.nmuCastling->menuAction()->isEnabled());
    EXPECT_TRUE(window.game().KingMoved && window.game().CastlingOff);
}
