#include "rules/movecheck.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using quorin::test::Diagram;

namespace {

struct CheckCase {
    const char* what;
    const char* diagram;
    Square from;
    Square to;
    bool allowed;
    std::string_view refusal;
};

class MoveCheck : public ::testing::TestWithParam<CheckCase> {};

// King on (4, 7) attacked along column 4 by an opponent rook.
constexpr const char* kRookChecks = "....r..."
                                    "........"
                                    "........"
                                    "........"
                                    "........"
                                    "........"
                                    ".......N"
                                    "....K...";
// Opponent knight on (3, 6) defended by an opponent pawn; a free pawn on (5, 6).
constexpr const char* kDefended = "........"
                                  "........"
                                  "........"
                                  "........"
                                  "........"
                                  "..p....."
                                  "...n.p.."
                                  "....K...";
// Bishop on (3, 6) pinned against the king on (4, 7) by an opponent bishop on (0, 3).
constexpr const char* kPinnedBishop = "........"
                                      "........"
                                      "........"
                                      "b......."
                                      "........"
                                      "........"
                                      "...B...."
                                      "....K...";
constexpr const char* kKings = "........"
                               "........"
                               "........"
                               "........"
                               "....k..."
                               "........"
                               "....K..."
                               "........";

INSTANTIATE_TEST_SUITE_P(
    Table, MoveCheck,
    ::testing::Values(
        CheckCase{"king steps further along the checking file",
                  kRookChecks,
                  {4, 7},
                  {4, 6},
                  false,
                  kKingCannotGoThere},
        CheckCase{"king steps off the file", kRookChecks, {4, 7}, {3, 7}, true, {}},
        CheckCase{"a move that does not end the check",
                  kRookChecks,
                  {7, 6},
                  {6, 4},
                  false,
                  kMoveLeavesCheck},
        CheckCase{"impossible move while in check carries the check text",
                  kRookChecks,
                  {7, 6},
                  {7, 2},
                  false,
                  kMoveLeavesCheck},
        CheckCase{
            "king takes a defended piece", kDefended, {4, 7}, {3, 6}, false, kKingCannotGoThere},
        CheckCase{"king takes an undefended piece", kDefended, {4, 7}, {5, 6}, true, {}},
        CheckCase{"pinned piece leaves the diagonal",
                  kPinnedBishop,
                  {3, 6},
                  {4, 5},
                  false,
                  kMoveLeavesCheck},
        CheckCase{"pinned piece moves along the diagonal", kPinnedBishop, {3, 6}, {1, 4}, true, {}},
        CheckCase{"pinned piece takes the pinner", kPinnedBishop, {3, 6}, {0, 3}, true, {}},
        CheckCase{"impossible move that would expose the king",
                  kPinnedBishop,
                  {3, 6},
                  {3, 2},
                  false,
                  kMoveLeavesCheck},
        CheckCase{"king moves next to the opponent king",
                  kKings,
                  {4, 6},
                  {4, 5},
                  false,
                  kKingCannotGoThere},
        CheckCase{"king moves away from the opponent king", kKings, {4, 6}, {4, 7}, true, {}},
        CheckCase{"silent refusal", kKings, {4, 6}, {4, 2}, false, {}}));

TEST_P(MoveCheck, VerdictAndText) {
    const CheckCase& c = GetParam();
    const Board board = Diagram(c.diagram);
    const Board before = board;
    const MoveVerdict verdict = IsMoveAllowed(board, c.to, c.from, board.name(c.from));
    EXPECT_EQ(verdict.allowed, c.allowed) << c.what;
    EXPECT_EQ(verdict.refusal, c.refusal) << c.what;
    EXPECT_EQ(board, before) << c.what;
}

} // namespace

TEST(MoveCheck, UnknownNameIsRefusedSilently) {
    const Board board = Diagram(kRookChecks);
    const MoveVerdict verdict = IsMoveAllowed(board, {4, 6}, {4, 7}, "Dummy");
    EXPECT_FALSE(verdict.allowed);
    EXPECT_TRUE(verdict.refusal.empty());
}

TEST(KingInCheck, FoundForEveryAttackerKind) {
    EXPECT_TRUE(IsKingInCheck(Diagram(kRookChecks)));
    EXPECT_FALSE(IsKingInCheck(Diagram(kKings)));
    // The pawn attacks one row down only: from (3, 6) it reaches (4, 7), beside it nothing.
    EXPECT_TRUE(IsKingInCheck(Diagram("........"
                                      "........"
                                      "........"
                                      "........"
                                      "........"
                                      "........"
                                      "...p...."
                                      "....K...")));
    EXPECT_FALSE(IsKingInCheck(Diagram("........"
                                       "........"
                                       "........"
                                       "........"
                                       "........"
                                       "........"
                                       "........"
                                       "...pK...")));
    EXPECT_TRUE(IsKingInCheck(Diagram("........"
                                      "........"
                                      "........"
                                      "........"
                                      "........"
                                      "...n...."
                                      "........"
                                      "....K...")));
    EXPECT_TRUE(IsKingInCheck(Diagram("q......."
                                      "........"
                                      "........"
                                      "........"
                                      "....K...")));
    // A piece of either side between blocks the line.
    EXPECT_FALSE(IsKingInCheck(Diagram("q......."
                                       "........"
                                       "..P....."
                                       "........"
                                       "....K...")));
}

TEST(KingInCheck, NoLocalKingMeansNothingIsAttacked) {
    const Board board = Diagram("....r..."
                                "........"
                                "........"
                                "........"
                                "........"
                                "........"
                                "....R..."
                                "........");
    EXPECT_FALSE(IsKingInCheck(board));
    EXPECT_FALSE(MoveLeavesKingAttacked(board, {3, 6}, {4, 6}));
    EXPECT_TRUE(IsMoveAllowed(board, {3, 6}, {4, 6}, "ru1").allowed);
}
