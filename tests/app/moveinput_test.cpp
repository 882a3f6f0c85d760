// Moving pieces with the mouse on one copy's board, without a peer.

#include "twocopies.h"

#include <QMenu>

using namespace quorin;

namespace {

class MouseOnBoard : public ::testing::Test {
protected:
    MouseOnBoard() {
        window.show();
        test::WaitFor([&] { return window.BoardReady(); });
    }

    const BoardGeometry& g() { return window.renderer().geometry(); }
    QWidget* board() { return &window.boardWidget(); }
    const QImage& back() { return window.renderer().BackBuffer(); }

    test::Copy copy{0};
    Form1& window = copy.window;
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
    for (QPoint off : {QPoint(right, 100), QPoint(100, bottom), QPoint(69, 100), QPoint(-5, -5)})
        EXPECT_EQ(input.PointToSquare(off), "") << off.x() << "," << off.y();
    EXPECT_EQ(input.PieceAtPoint(copy.center({4, 7})), "ki1");
    EXPECT_EQ(input.PieceAtPoint(copy.center({4, 4})), "Dummy");
    EXPECT_EQ(input.PieceAtPoint({5, 5}), "");
}

TEST_F(MouseOnBoard, OnlyOwnPiecesAreLiftedAndFollowTheMouseAndComeBack) {
    const QImage before = back().copy();
    // An own pawn off turn, then on turn a peer piece, an empty square and off the board.
    window.game().MyTurn = false;
    for (QPoint press : {copy.center({4, 6}), copy.center({3, 0}), copy.center({3, 4}),
                         QPoint(20, 300), QPoint(590, 20)}) {
        QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, press);
        EXPECT_FALSE(window.moveInput().drag().Dragging);
        QTest::mouseMove(board(), {300, 200});
        QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, {300, 200});
        EXPECT_EQ(back(), before);
        window.game().MyTurn = true;
    }

    // An own piece is lifted and follows the mouse.
    QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, copy.center({1, 7}));
    EXPECT_TRUE(window.moveInput().drag().Dragging);
    // Lifted from the back buffer: its square is empty there.
    EXPECT_EQ(back().pixel(copy.center({1, 7})), BoardRenderer::kBoardFill);
    QTest::mouseMove(board(), copy.center({4, 4}));
    EXPECT_NE(back().pixel(copy.center({4, 4})), BoardRenderer::kBoardFill);
    QTest::mouseMove(board(), copy.center({5, 3}));
    EXPECT_EQ(back().copy(g().pieceRect({4, 4})), before.copy(g().pieceRect({4, 4})));
    // Released off the board: back where it was.
    QTest::mouseMove(board(), {580, 30});
    QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, {580, 30});
    EXPECT_FALSE(window.moveInput().drag().Dragging);
    EXPECT_EQ(back(), before);
    // Dropped on an own piece: back as well, with no rule asked.
    copy.drag({1, 7}, copy.center({3, 7}));
    EXPECT_EQ(back(), before);
    EXPECT_EQ(window.game().board.name({1, 7}), "ni1");
}

TEST_F(MouseOnBoard, WithoutAPeerThePlayerMovesOnAndRookAndKingSwitchCastlingOff) {
    copy.drag({4, 6}, copy.center({4, 4}));
    copy.drag({6, 7}, copy.center({5, 5}));
    EXPECT_EQ(window.game().MoveNumber, 2);
    EXPECT_EQ(copy.env.seams().soundPlays, 2);
    // What the board shows is the position, square for square.
    const QImage shown = back().copy();
    window.renderer().DrawBoard(window.game().board);
    EXPECT_EQ(back(), shown);

    // The rook beside the knight's old square, then the king: castling goes off side by side.
    const MainMenu& m = window.menu();
    copy.drag({7, 7}, copy.center({6, 7}));
    ASSERT_EQ(window.game().board.name({6, 7}), "ru1");
    EXPECT_FALSE(m.nmuCastlingRight->isEnabled());
    EXPECT_TRUE(m.nmuCastlingLeft->isEnabled() && m.nmuCastling->menuAction()->isEnabled());
    copy.drag({4, 7}, copy.center({4, 6}));
    EXPECT_FALSE(m.nmuCastling->menuAction()->isEnabled());
    EXPECT_TRUE(window.game().KingMoved && window.game().CastlingOff);
}

// Two clicks: each click chooses, changes or lets go of the chosen piece, whose square is
// framed; the frame goes again to the last pixel.
TEST_F(MouseOnBoard, ClicksChooseAPieceFramedInsideItsSquareAndLetItGoAgain) {
    const QImage before = back().copy();
    const std::optional<Square> none;
    const struct {
        QPoint at;
        std::optional<Square> chosen;
    } clicks[] = {
        {copy.center({4, 6}), Square{4, 6}},
        {copy.center({1, 7}), Square{1, 7}}, // another own piece
        {copy.center({1, 7}), none},         // the chosen one
        {copy.center({3, 0}), none},         // a peer's piece, nothing chosen
        {copy.center({3, 4}), none},         // an empty square, nothing chosen
        {copy.center({4, 6}), Square{4, 6}},
        {QPoint(20, 300), none}, // off the board
    };
    for (const auto& c : clicks) {
        QTest::mouseClick(board(), Qt::LeftButton, {}, c.at);
        ASSERT_EQ(window.moveInput().Selected(), c.chosen) << c.at.x() << "," << c.at.y();
        const QRect area = c.chosen ? g().pieceRect(*c.chosen) : QRect();
        for (int y = 0; y < back().height(); ++y)
            for (int x = 0; x < back().width(); ++x) {
                const bool frame =
                    area.contains(x, y) && !area.adjusted(2, 2, -2, -2).contains(x, y);
                ASSERT_EQ(back().pixel(x, y),
                          frame ? BoardRenderer::kMarkColour : before.pixel(x, y))
                    << x << "," << y;
            }
    }

    // A drag from the chosen piece is a drag; a click on a target moves the chosen piece.
    copy.click({4, 6});
    copy.drag({4, 6}, copy.center({4, 4}));
    copy.click({6, 7});
    copy.click({5, 5});
    EXPECT_EQ(window.game().board.name({4, 4}), "po1");
    EXPECT_EQ(window.game().board.name({5, 5}), "ni1");
    EXPECT_EQ(window.game().MoveNumber, 2);
    EXPECT_EQ(copy.env.seams().soundPlays, 2);
    EXPECT_FALSE(window.moveInput().Selected());
    const QImage shown = back().copy();
    window.renderer().MakeBan();
    window.renderer().DrawBoard(window.game().board);
    EXPECT_EQ(back(), shown);
}
