// The codes of steps and slides; which moves they allow is held against the reference
// generator in legal_moves_test.cpp.

#include "rules/movement.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using quorin::test::Diagram;

TEST(StepCode, EachCodeIsOneExactDisplacement) {
    const Square s{4, 4};
    const int expected[5][5] = {
        // dy = -2 .. +2 by rows, dx = -2 .. +2 by columns
        {0, 9, 17, 10, 0}, {13, 1, 2, 3, 15}, {0, 8, 0, 4, 0}, {14, 7, 6, 5, 16}, {0, 12, 0, 11, 0},
    };
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx)
            EXPECT_EQ(StepCode({s.x + dx, s.y + dy}, s), expected[dy + 2][dx + 2])
                << dx << "," << dy;
    }
    EXPECT_EQ(StepCode({4, 7}, {4, 4}), 0);
}

TEST(SlideCode, DirectionOfAClearLineOfTwoOrMore) {
    const Board board =
        Diagram("........ ........ ...p.... ........ ...R.... ........ .....N.. ........");
    const Square s{3, 4};
    const std::pair<Square, int> cases[] = {
        {{3, 2}, 1}, {{3, 1}, 0}, // onto the pawn, but not over it
        {{7, 4}, 2}, {{3, 7}, 3}, {{0, 4}, 4},
        {{1, 2}, 5}, {{5, 6}, 6}, {{6, 7}, 0}, // onto the knight, but not over it
        {{6, 1}, 7}, {{1, 6}, 8}, {{3, 3}, 0},
        {{4, 5}, 0}, {{5, 5}, 0}, {{3, 4}, 0}};
    for (const auto& [to, code] : cases)
        EXPECT_EQ(SlideCode(board, to, s), code) << to.x << "," << to.y;
}

TEST(CanAttack, OpponentPawnsAttackDiagonallyDownwards) {
    const Board board;
    EXPECT_TRUE(CanAttack(board, {4, 1}, {3, 2}, PieceKind::Pawn));
    EXPECT_TRUE(CanAttack(board, {4, 1}, {5, 2}, PieceKind::Pawn));
    EXPECT_FALSE(CanAttack(board, {4, 1}, {4, 2}, PieceKind::Pawn));
    EXPECT_FALSE(CanAttack(board, {4, 1}, {3, 0}, PieceKind::Pawn));
    EXPECT_FALSE(CanAttack(board, {3, 3}, {3, 3}, PieceKind::Queen));
    EXPECT_FALSE(CanAttack(board, {3, 3}, {3, 4}, PieceKind::None));
}
