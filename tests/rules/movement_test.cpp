#include "rules/movement.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using quorin::test::Diagram;

namespace {

const Board kEmpty;

} // namespace

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
    EXPECT_EQ(StepCode({0, 0}, {7, 7}), 0);
}

TEST(SlideCode, DirectionOfAClearLineOfTwoOrMore) {
    struct Case {
        Square to;
        int code;
    };
    const Square s{3, 4};
    for (const Case& c : {Case{{3, 0}, 1}, Case{{7, 4}, 2}, Case{{3, 7}, 3}, Case{{0, 4}, 4},
                          Case{{0, 1}, 5}, Case{{6, 7}, 6}, Case{{7, 0}, 7}, Case{{0, 7}, 8},
                          Case{{3, 3}, 0}, Case{{4, 5}, 0}, Case{{5, 5}, 0}, Case{{3, 4}, 0}}) {
        EXPECT_EQ(SlideCode(kEmpty, c.to, s), c.code) << c.to.x << "," << c.to.y;
    }
}

TEST(SlideCode, ThePathMustBeEmptyButTheTargetIsNotLookedAt) {
    const Board board = Diagram("........"
                                "........"
                                "...p...."
                                "........"
                                "...R...."
                                "........"
                                ".....N.."
                                "........");
    EXPECT_EQ(SlideCode(board, {3, 2}, {3, 4}), 1); // onto the pawn: path clear
    EXPECT_EQ(SlideCode(board, {3, 1}, {3, 4}), 0); // over the pawn
    EXPECT_EQ(SlideCode(board, {5, 6}, {3, 4}), 6); // onto the knight: path clear
    EXPECT_EQ(SlideCode(board, {6, 7}, {3, 4}), 0); // over the knight
}

TEST(CanAttack, PatternsOfEachKind) {
    const Board board = Diagram("........"
                                "....p..."
                                "........"
                                "........"
                                "..N....."
                                "........"
                                "........"
                                "........");
    // An opponent pawn attacks one row further down, diagonally only.
    EXPECT_TRUE(CanAttack(board, {4, 1}, {3, 2}, PieceKind::Pawn));
    EXPECT_TRUE(CanAttack(board, {4, 1}, {5, 2}, PieceKind::Pawn));
    EXPECT_FALSE(CanAttack(board, {4, 1}, {4, 2}, PieceKind::Pawn));
    EXPECT_FALSE(CanAttack(board, {4, 1}, {3, 0}, PieceKind::Pawn));

    EXPECT_TRUE(CanAttack(board, {4, 4}, {5, 6}, PieceKind::Knight));
    EXPECT_FALSE(CanAttack(board, {4, 4}, {6, 6}, PieceKind::Knight));
    EXPECT_TRUE(CanAttack(board, {4, 4}, {3, 5}, PieceKind::King));
    EXPECT_FALSE(CanAttack(board, {4, 4}, {4, 6}, PieceKind::King));

    // Sliders: the target itself may be occupied, squares between must be empty.
    EXPECT_FALSE(CanAttack(board, {7, 4}, {0, 4}, PieceKind::Rook));
    EXPECT_TRUE(CanAttack(board, {7, 4}, {3, 4}, PieceKind::Rook));
    EXPECT_TRUE(CanAttack(board, {4, 7}, {4, 2}, PieceKind::Rook));
    EXPECT_FALSE(CanAttack(board, {4, 7}, {4, 0}, PieceKind::Rook));
    EXPECT_TRUE(CanAttack(board, {7, 7}, {1, 1}, PieceKind::Bishop));
    EXPECT_FALSE(CanAttack(board, {7, 7}, {1, 2}, PieceKind::Bishop));
    EXPECT_TRUE(CanAttack(board, {0, 6}, {2, 4}, PieceKind::Queen));
    EXPECT_FALSE(CanAttack(board, {0, 6}, {3, 3}, PieceKind::Queen));
    EXPECT_TRUE(CanAttack(board, {2, 0}, {2, 3}, PieceKind::Queen));

    for (PieceKind kind : {PieceKind::Pawn, PieceKind::Rook, PieceKind::Knight, PieceKind::Bishop,
                           PieceKind::Queen, PieceKind::King, PieceKind::None})
        EXPECT_FALSE(CanAttack(board, {3, 3}, {3, 3}, kind));
    EXPECT_FALSE(CanAttack(kEmpty, {3, 3}, {3, 4}, PieceKind::None));
}

struct MoveCase {
    const char* what;
    const char* diagram;
    Square from;
    Square to;
    bool allowed;
};

class MovementRule : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MovementRule, Geometry) {
    const MoveCase& c = GetParam();
    const Board board = Diagram(c.diagram);
    EXPECT_EQ(MovementAllowed(board, c.to, c.from, KindOf(board.at(c.from))), c.allowed) << c.what;
}

// Pawn on (4, 6) with an opponent knight on (5, 5) and an empty (3, 5).
constexpr const char* kPawnBoard = "........"
                                   "........"
                                   "........"
                                   "........"
                                   "........"
                                   ".....n.."
                                   "....P..."
                                   "........";
constexpr const char* kPawnBlockedFirst = "........"
                                          "........"
                                          "........"
                                          "........"
                                          "........"
                                          "....p..."
                                          "....P..."
                                          "........";
constexpr const char* kPawnBlockedSecond = "........"
                                           "........"
                                           "........"
                                           "........"
                                           "....p..."
                                           "........"
                                           "....P..."
                                           "........";
constexpr const char* kPawnAdvanced = "........"
                                      "........"
                                      "........"
                                      "........"
                                      "........"
                                      "....P..."
                                      "........"
                                      "........";
constexpr const char* kBishopPath = "........"
                                    "........"
                                    "........"
                                    "........"
                                    ".....n.."
                                    "........"
                                    "........"
                                    "..B.....";
constexpr const char* kBishopBlocked = "........"
                                       "........"
                                       "........"
                                       "........"
                                       ".....n.."
                                       "....p..."
                                       "........"
                                       "..B.....";

INSTANTIATE_TEST_SUITE_P(
    Table, MovementRule,
    ::testing::Values(
        MoveCase{"pawn single step", kPawnBoard, {4, 6}, {4, 5}, true},
        MoveCase{"pawn double step from row 6", kPawnBoard, {4, 6}, {4, 4}, true},
        MoveCase{"pawn diagonal capture", kPawnBoard, {4, 6}, {5, 5}, true},
        MoveCase{"pawn diagonal onto empty", kPawnBoard, {4, 6}, {3, 5}, false},
        MoveCase{"pawn backwards", kPawnBoard, {4, 6}, {4, 7}, false},
        MoveCase{"pawn sideways", kPawnBoard, {4, 6}, {3, 6}, false},
        MoveCase{"pawn straight onto a piece", kPawnBlockedFirst, {4, 6}, {4, 5}, false},
        MoveCase{"pawn double step over a piece", kPawnBlockedFirst, {4, 6}, {4, 4}, false},
        MoveCase{"pawn double step onto a piece", kPawnBlockedSecond, {4, 6}, {4, 4}, false},
        MoveCase{"pawn single step, second square taken", kPawnBlockedSecond, {4, 6}, {4, 5}, true},
        MoveCase{"pawn double step off row 6", kPawnAdvanced, {4, 5}, {4, 3}, false},
        MoveCase{"bishop long diagonal capture", kBishopPath, {2, 7}, {5, 4}, true},
        MoveCase{"bishop blocked diagonal", kBishopBlocked, {2, 7}, {5, 4}, false},
        MoveCase{"bishop one step", kBishopBlocked, {2, 7}, {3, 6}, true},
        MoveCase{"bishop straight", kBishopPath, {2, 7}, {2, 5}, false}));

TEST(MovementRule, KnightJumpsOverPawnsOfTheStartPosition) {
    const Board board = *ReadPosition(InitialPosition);
    EXPECT_TRUE(MovementAllowed(board, {0, 5}, {1, 7}, PieceKind::Knight));
    EXPECT_TRUE(MovementAllowed(board, {2, 5}, {1, 7}, PieceKind::Knight));
    EXPECT_FALSE(MovementAllowed(board, {1, 5}, {1, 7}, PieceKind::Knight));
    // Rook, queen and king may not pass their own pawns.
    EXPECT_FALSE(MovementAllowed(board, {0, 5}, {0, 7}, PieceKind::Rook));
    EXPECT_FALSE(MovementAllowed(board, {3, 5}, {3, 7}, PieceKind::Queen));
    EXPECT_FALSE(MovementAllowed(board, {4, 5}, {4, 7}, PieceKind::King));
    EXPECT_FALSE(MovementAllowed(board, {4, 5}, {4, 7}, PieceKind::None));
}

TEST(MovementRule, OneSquareMovesNeedNoPathAndLongOnesDo) {
    const Board board = Diagram("........"
                                "........"
                                "........"
                                "...p...."
                                "..pQp..."
                                "...p...."
                                "........"
                                "........");
    for (Square to :
         {Square{3, 3}, Square{2, 4}, Square{4, 4}, Square{3, 5}, Square{2, 3}, Square{4, 5}})
        EXPECT_TRUE(MovementAllowed(board, to, {3, 4}, PieceKind::Queen));
    for (Square to : {Square{3, 1}, Square{0, 4}, Square{6, 4}, Square{3, 7}})
        EXPECT_FALSE(MovementAllowed(board, to, {3, 4}, PieceKind::Queen));
    EXPECT_TRUE(MovementAllowed(board, {6, 7}, {3, 4}, PieceKind::Queen));
    EXPECT_FALSE(MovementAllowed(board, {5, 5}, {3, 4}, PieceKind::Queen)); // off every line
    EXPECT_FALSE(MovementAllowed(board, {4, 3}, {3, 4}, PieceKind::Rook));
    EXPECT_TRUE(MovementAllowed(board, {4, 3}, {3, 4}, PieceKind::Bishop));
}
