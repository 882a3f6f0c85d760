#include "rules/gamestate.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

#include <random>
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

TEST(Position, InitialTextReadsAsTheStartLayoutAndWritesInTwoUpperCaseDigits) {
    EXPECT_EQ(ReadPosition(InitialPosition), kStart);
    EXPECT_EQ(WritePosition(kStart), "07,08,09,0A,0B,09,08,07," + Repeat("06", 8) + "," +
                                         Repeat("0C", 32) + "," + Repeat("00", 8) +
                                         ",01,02,03,04,05,03,02,01");
}

TEST(Position, TokensReadAsHexadecimalOfAnyWidthAndCase) {
    const std::pair<std::string, PieceCode> cases[] = {
        {"C", 12}, {"0C", 12}, {"0c", 12}, {"A", 10}, {"0A", 10}, {"0000000000000000B", 11}};
    for (const auto& [token, code] : cases) {
        const auto board = ReadPosition(Repeat(token, 64));
        EXPECT_TRUE(board && board->at(0, 0) == code && board->at(7, 7) == code) << token;
    }
}

class PositionRefused : public ::testing::TestWithParam<std::string> {};

TEST_P(PositionRefused, LeavesTheBoardAsItWas) {
    GameState state;
    ASSERT_TRUE(state.LoadPosition());
    state.PositionString = GetParam();
    EXPECT_FALSE(ReadPosition(GetParam()));
    EXPECT_FALSE(state.LoadPosition());
    EXPECT_EQ(state.board, kStart);
}

INSTANTIATE_TEST_SUITE_P(
    BadTexts, PositionRefused,
    ::testing::Values(std::string(), Repeat("0C", 63), Repeat("0C", 65), Repeat("0C", 64) + ",",
                      std::string(",").append(Repeat("0C", 64)), Repeat("0C", 32) + ",," + Repeat("0C", 31),
                      Repeat("0D", 64), Repeat("10", 64), Repeat("FFFFFFFFFFFF", 64),
                      Repeat("G", 64), Repeat(" 0C", 64), Repeat("0C ", 64), Repeat("-1", 64),
                      Repeat("+1", 64), Repeat("0x0C", 64), Repeat("0C", 63) + ",\r\n",
                      Repeat("0C", 64) + "\n", Repeat("0C", 32) + ";" + Repeat("0C", 32)));

TEST(Position, TextsReadBackAndThePeerViewTurnsTheBoardAndExchangesSides) {
    const std::string peer = WritePositionForPeer(kStart);
    EXPECT_EQ(peer.substr(0, 23), "07,08,09,0B,0A,09,08,07");
    // The receiver's own king lands on column 3 of its back rank.
    EXPECT_EQ(ReadPosition(peer).value_or(Board()).name({3, 7}), "ki1");

    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> code(0, kPieceCodeCount - 1);
    for (int i = 0; i < 500; ++i) {
        Board board;
        for (int d = 0; d < 64; ++d)
            board.set(SquareAt(d), code(rng));
        ASSERT_EQ(ReadPosition(WritePosition(board)), board);
        const Board seen = ReadPosition(WritePositionForPeer(board)).value_or(Board());
        for (int d = 0; d < 64; ++d)
            ASSERT_EQ(seen.at(7 - d % 8, 7 - d / 8), SwapSide(board.at(SquareAt(d))));
        // Seen from the other side twice, a board is itself again.
        EXPECT_EQ(ReadPosition(WritePositionForPeer(seen)), board);
    }
}

TEST(PieceNames, KindSideAndCodeFollowTheName) {
    for (PieceCode c = 0; c < kPieceCodeCount; ++c) {
        const std::string_view name = ImageNames[c];
        EXPECT_EQ(CodeOfName(name), c);
        EXPECT_EQ(KindOfName(name), KindOf(c)) << name;
    }
    EXPECT_EQ(CodeOfName("ki3"), -1);
    EXPECT_EQ(KindOfName("xx1"), PieceKind::None);
}
