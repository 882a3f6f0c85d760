#include "rules/castling.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using quorin::test::Diagram;

namespace {

struct CastlingCase {
    const char* side; // PlayerSide
    CastlingSide direction;
    const char* backRank; // row 7 before
    const char* after;    // row 7 after, when castled
    std::string_view refusal = {};
};

class Castling : public ::testing::TestWithParam<CastlingCase> {};

} // namespace

// Rows 0 to 6 hold only the opponent's king; a refusal changes nothing.
TEST_P(Castling, MovesKingAndRookOrRefuses) {
    const CastlingCase& c = GetParam();
    SCOPED_TRACE(std::string(c.side) + " " + c.backRank);
    const std::string top = "....k..." + std::string(48, '.');
    GameState game;
    game.PlayerSide = c.side;
    game.board = Diagram(top + c.backRank);
    EXPECT_EQ(Castle(game, c.direction), c.refusal);
    EXPECT_EQ(game.board, Diagram(top + (c.refusal.empty() ? c.after : c.backRank)));
    EXPECT_EQ(game.CastlingOff, c.refusal.empty());
}

using enum CastlingSide;
INSTANTIATE_TEST_SUITE_P(
    Table, Castling,
    ::testing::Values(
        CastlingCase{"先手", Right, "R..QK..R", "R..Q.RK."},
        CastlingCase{"先手", Left, "R...KB.R", "..KR.B.R"},
        CastlingCase{"", Right, "RNBQK..R", "RNBQ.RK."}, // no side yet: as the first player
        CastlingCase{"後手", Left, "R..K.BNR", ".KR..BNR"},
        CastlingCase{"後手", Right, "RNBK...R", "RNB.RK.."},
        CastlingCase{"先手", Right, "R..QK.NR", "", kPiecesBetween},
        CastlingCase{"先手", Left, "R..QK..R", "", kPiecesBetween},
        CastlingCase{"先手", Right, "R......R", "", kNoKingToCastle},
        CastlingCase{"先手", Right, "R....K.R", "", kNoKingToCastle}, // the king off its square
        CastlingCase{"後手", Right, "R...K..R", "", kNoKingToCastle}, // the first player's square
        CastlingCase{"先手", Right, "R...K..n", "", kNoRookToCastle}, // rook taken on its corner
        CastlingCase{"後手", Left, "...K...R", "", kNoRookToCastle}));

TEST(Castling, IgnoresCheckAndAttackedSquares) {
    GameState game;
    game.PlayerSide = "先手";
    game.board = Diagram("....k... ......r. ........ ........ ........ ........ ........ r...K..R");
    EXPECT_EQ(Castle(game, Right), "");
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
    EXPECT_FALSE(Promotes("po1", {3, 1}) || Promotes("po2", {3, 0}) || Promotes("qu1", {3, 0}));
}
