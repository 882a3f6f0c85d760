#include "rules/castling.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using quorin::test::Diagram;

namespace {

struct CastlingCase {
    const char* what;
    const char* side; // PlayerSide
    CastlingSide direction;
    const char* backRank; // row 7 before
    std::string_view refusal;
    const char* after; // row 7 after, when castled
};

class Castling : public ::testing::TestWithParam<CastlingCase> {};

std::string BackRank(const Board& board) {
    std::string row;
    for (int x = 0; x < 8; ++x)
        row += ".PRNBQKprnbqk"[board.at(x, 7) == kEmptyCode ? 0 : board.at(x, 7) + 1];
    return row;
}

} // namespace

TEST_P(Castling, MovesKingAndRookOrRefuses) {
    const CastlingCase& c = GetParam();
    GameState game;
    game.PlayerSide = c.side;
    game.board = Diagram(std::string("....k...") + std::string(48, '.') + c.backRank);
    const Board before = game.board;
    EXPECT_EQ(Castle(game, c.direction), c.refusal) << c.what;
    if (c.refusal.empty()) {
        EXPECT_EQ(BackRank(game.board), c.after) << c.what;
        EXPECT_TRUE(game.CastlingOff);
    } else {
        EXPECT_EQ(game.board, before) << c.what;
        EXPECT_FALSE(game.CastlingOff);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Castling,
    ::testing::Values(
        CastlingCase{
            "first player, right", "先手", CastlingSide::Right, "R..QK..R", {}, "R..Q.RK."},
        CastlingCase{"first player, left", "先手", CastlingSide::Left, "R...KB.R", {}, "..KR.B.R"},
        CastlingCase{"before move 1 the first player's layout",
                     "",
                     CastlingSide::Right,
                     "RNBQK..R",
                     {},
                     "RNBQ.RK."},
        CastlingCase{"second player, left", "後手", CastlingSide::Left, "R..K.BNR", {}, ".KR..BNR"},
        CastlingCase{
            "second player, right", "後手", CastlingSide::Right, "RNBK...R", {}, "RNB.RK.."},
        CastlingCase{"a knight in the way", "先手", CastlingSide::Right, "R..QK.NR", kPiecesBetween,
                     ""},
        CastlingCase{"the queen in the way", "先手", CastlingSide::Left, "R..QK..R", kPiecesBetween,
                     ""},
        CastlingCase{"no king on the back rank", "先手", CastlingSide::Right, "R......R",
                     kNoKingToCastle, ""},
        CastlingCase{"the king off its square", "先手", CastlingSide::Right, "R....K.R",
                     kNoKingToCastle, ""},
        CastlingCase{"second player's king on the first player's square", "後手",
                     CastlingSide::Right, "R...K..R", kNoKingToCastle, ""},
        CastlingCase{"the rook was taken on its corner", "先手", CastlingSide::Right, "R...K..n",
                     kNoRookToCastle, ""},
        CastlingCase{"no rook at all", "後手", CastlingSide::Left, "...K...R", kNoRookToCastle,
                     ""}));

TEST(Castling, IgnoresCheckAndAttackedSquares) {
    GameState game;
    game.PlayerSide = "先手";
    game.board = Diagram("....k..."
                         "......r."
                         "........"
                         "........"
                         "........"
                         "........"
                         "........"
                         "....K..R");
    EXPECT_TRUE(Castle(game, CastlingSide::Right).empty());
    EXPECT_EQ(game.board.name({6, 7}), "ki1");
}

TEST(CastlingAvailability, FollowsKingAndRookMoves) {
    GameState game;
    // The left rook leaves its corner: only the left side goes.
    CastlingMenuChange change = UpdateCastlingAvailability(game, "ru1", {0, 7});
    EXPECT_TRUE(change.left);
    EXPECT_FALSE(change.right || change.castling || game.CastlingOff);
    // A rook move elsewhere changes nothing.
    change = UpdateCastlingAvailability(game, "ru1", {0, 5});
    EXPECT_FALSE(change.left || change.right || change.castling);
    // The other rook as well: castling is over.
    change = UpdateCastlingAvailability(game, "ru1", {7, 7});
    EXPECT_TRUE(change.right && change.castling && game.CastlingOff);

    GameState kingFirst;
    change = UpdateCastlingAvailability(kingFirst, "ki1", {4, 7});
    EXPECT_TRUE(change.castling && kingFirst.KingMoved && kingFirst.CastlingOff);
    // After the king has moved, rook moves change no flag.
    change = UpdateCastlingAvailability(kingFirst, "ru1", {7, 7});
    EXPECT_FALSE(change.left || change.right || change.castling || kingFirst.RightRookMoved);
    EXPECT_FALSE(UpdateCastlingAvailability(kingFirst, "qu1", {3, 7}).castling);
}

TEST(Promotion, OnlyALocalPawnReachingTheFarRow) {
    EXPECT_TRUE(Promotes("po1", {3, 0}));
    EXPECT_FALSE(Promotes("po1", {3, 1}));
    EXPECT_FALSE(Promotes("po2", {3, 0}));
    EXPECT_FALSE(Promotes("qu1", {3, 0}));
}
