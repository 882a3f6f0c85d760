#include "rules/castling.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace quorin;
using quorin::test::Diagram;

namespace {

const Board kStart =
    Diagram("rnbqkbnr pppppppp ........ ........ ........ ........ PPPPPPPP RNBQKBNR");

std::string Repeat(std::string_view token, int count) {
    std::string out(token);
    for (int i = 1; i < count; ++i)
        out.append(",").append(token);
    return out;
}

} // namespace

// The start text reads as the start layout; any board reads back from its text, written in
// two upper-case digits a cell; the peer's text turns it and exchanges the sides.
TEST(Position, TextsReadBackInBothViews) {
    EXPECT_EQ(ReadPosition(InitialPosition), kStart);
    EXPECT_EQ(WritePosition(kStart), "07,08,09,0A,0B,09,08,07," + Repeat("06", 8) + "," +
                                         Repeat("0C", 32) + "," + Repeat("00", 8) +
                                         ",01,02,03,04,05,03,02,01");
    EXPECT_EQ(ReadPosition(Repeat("0000000c", 64)), Board()); // hexadecimal of any width and case
    Board board;
    for (int d = 0; d < 64; ++d)
        board.set(SquareAt(d), d * 5 % kPieceCodeCount);
    EXPECT_EQ(ReadPosition(WritePosition(board)), board);
    const Board seen = ReadPosition(WritePositionForPeer(board)).value_or(Board());
    for (int d = 0; d < 64; ++d)
        EXPECT_EQ(seen.at(7 - d % 8, 7 - d / 8), SwapSide(board.at(SquareAt(d)))) << d;
}

TEST(Position, BadTextsAreRefusedAndLeaveTheBoardAsItWas) {
    GameState state;
    ASSERT_TRUE(state.LoadPosition());
    for (const std::string& text :
         {std::string(), Repeat("0C", 63), Repeat("0C", 65), Repeat("0C", 64) + ",",
          Repeat("0C", 32) + ",," + Repeat("0C", 31), Repeat("0D", 64), Repeat("10", 64),
          Repeat("FFFFFFFFFFFF", 64), Repeat("G", 64), Repeat(" 0C", 64), Repeat("-1", 64),
          Repeat("+1", 64), Repeat("0x0C", 64), Repeat("0C", 64) + "\n"}) {
        state.PositionString = text;
        EXPECT_FALSE(state.LoadPosition()) << text;
    }
    EXPECT_EQ(state.board, kStart);
}

// Above row 7 stand the opponent's king and rooks that attack both kings' squares and every
// square a king crosses: castling does not look at check. A refusal changes nothing.
TEST(Castling, MovesKingAndRookOrRefuses) {
    using enum CastlingSide;
    // The player's side, the way, row 7 before, row 7 after castling, the refusal.
    const std::tuple<const char*, CastlingSide, const char*, const char*, std::string_view>
        cases[] = {{"先手", Right, "R..QK..R", "R..Q.RK.", ""},
                   {"先手", Left, "R...KB.R", "..KR.B.R", ""},
                   {"後手", Left, "R..K.BNR", ".KR..BNR", ""},
                   {"後手", Right, "RNBK...R", "RNB.RK..", ""},
                   {"先手", Right, "R..QK.NR", "", kPiecesBetween},
                   {"後手", Left, "R.BK...R", "", kPiecesBetween},
                   {"先手", Right, "R....K.R", "", kNoKingToCastle}, // the king off its square
                   {"後手", Right, "R...K..R", "", kNoKingToCastle}, // the first player's square
                   {"先手", Right, "R...K..n", "", kNoRookToCastle}, // rook taken on its corner
                   {"後手", Left, "...K...R", "", kNoRookToCastle}};
    const std::string above = "....k..." + std::string(40, '.') + "..rrrr..";
    for (const auto& [side, way, before, after, refusal] : cases) {
        SCOPED_TRACE(std::string(side) + " " + before);
        GameState game;
        game.PlayerSide = side;
        game.board = Diagram(above + before);
        EXPECT_EQ(Castle(game, way), refusal);
        EXPECT_EQ(game.board, Diagram(above + (refusal.empty() ? after : before)));
        EXPECT_EQ(game.CastlingOff, refusal.empty());
    }
}

TEST(CastlingAvailability, FollowsKingAndRookMoves) {
    // What a move turns off: C the castling menu, L or R one side; O: castling is off after it.
    const auto off = [](GameState& game, const char* piece, Square from) {
        const CastlingMenuChange c = UpdateCastlingAvailability(game, piece, from);
        return std::string(c.castling ? "C" : "") + (c.left ? "L" : "") + (c.right ? "R" : "") +
               (game.CastlingOff ? "O" : "");
    };
    GameState rooksFirst, kingFirst;
    EXPECT_EQ(off(rooksFirst, "ru1", {0, 7}), "L");
    EXPECT_EQ(off(rooksFirst, "ru1", {7, 7}), "CRO");
    EXPECT_EQ(off(kingFirst, "ki1", {4, 7}), "CO");
    EXPECT_EQ(off(kingFirst, "ru1", {7, 7}), "O");
}

TEST(Promotion, OnlyALocalPawnReachingTheFarRow) {
    EXPECT_TRUE(Promotes("po1", {3, 0}));
    EXPECT_FALSE(Promotes("po1", {3, 1}) || Promotes("po2", {3, 0}) || Promotes("qu1", {3, 0}));
}
