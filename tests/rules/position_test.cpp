#include "rules/gamestate.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

#include <random>

using namespace quorin;
using quorin::test::Diagram;

namespace {

const Board kStart = Diagram("rnbqkbnr"
                             "pppppppp"
                             "........"
                             "........"
                             "........"
                             "........"
                             "PPPPPPPP"
                             "RNBQKBNR");

std::string Repeat(std::string_view token, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ',';
        out += token;
    }
    return out;
}

Board RandomBoard(std::mt19937& rng) {
    Board board;
    std::uniform_int_distribution<int> code(0, kPieceCodeCount - 1);
    for (int d = 0; d < 64; ++d)
        board.set(SquareAt(d), code(rng));
    return board;
}

} // namespace

TEST(Position, InitialPositionIsTheStartLayout) {
    const auto board = ReadPosition(InitialPosition);
    ASSERT_TRUE(board);
    EXPECT_EQ(*board, kStart);
    EXPECT_EQ(board->name({4, 7}), "ki1");
    EXPECT_EQ(board->name({3, 0}), "qu2");
}

TEST(Position, TokensReadAsHexadecimalOfAnyWidthAndCase) {
    struct Case {
        std::string token;
        PieceCode code;
    };
    for (const Case& c : std::vector<Case>{{"C", 12},
                                           {"0C", 12},
                                           {"0c", 12},
                                           {"c", 12},
                                           {"A", 10},
                                           {"0A", 10},
                                           {"0", 0},
                                           {"00", 0},
                                           {"0000000000000000000000000000000B", 11},
                                           {"5", 5}}) {
        const auto board = ReadPosition(Repeat(c.token, 64));
        ASSERT_TRUE(board) << c.token;
        EXPECT_EQ(board->at({0, 0}), c.code) << c.token;
        EXPECT_EQ(board->at({7, 7}), c.code) << c.token;
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
                      std::string(",").append(Repeat("0C", 64)),
                      Repeat("0C", 32) + ",," + Repeat("0C", 31), Repeat("0D", 64),
                      Repeat("10", 64), Repeat("FFFFFFFFFFFF", 64), Repeat("G", 64),
                      Repeat(" 0C", 64), Repeat("0C ", 64), Repeat("-1", 64), Repeat("+1", 64),
                      Repeat("0x0C", 64), Repeat("0C", 63) + ",\r\n", Repeat("0C", 64) + "\n",
                      Repeat("0C", 32) + ";" + Repeat("0C", 32)));

TEST(Position, WritingUsesTwoUpperCaseDigits) {
    const std::string text = WritePosition(kStart);
    EXPECT_EQ(text.size(), 191u);
    EXPECT_EQ(text.substr(0, 24), "07,08,09,0A,0B,09,08,07,");
    EXPECT_EQ(text.substr(191 - 23), "01,02,03,04,05,03,02,01");
    EXPECT_EQ(WritePosition(Board()), Repeat("0C", 64));
}

TEST(Position, NaturalFormReadsBackUnchanged) {
    std::mt19937 rng(20261206);
    for (int i = 0; i < 500; ++i) {
        const Board board = RandomBoard(rng);
        const auto read = ReadPosition(WritePosition(board));
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, board);
    }
}

TEST(Position, PeerViewTurnsTheBoardAndExchangesSides) {
    const std::string peer = WritePositionForPeer(kStart);
    EXPECT_EQ(peer.substr(0, 23), "07,08,09,0B,0A,09,08,07");
    const auto received = ReadPosition(peer);
    ASSERT_TRUE(received);
    // The receiver's own king lands on column 3 of its back rank, the opponent's above it.
    EXPECT_EQ(received->name({3, 7}), "ki1");
    EXPECT_EQ(received->name({4, 7}), "qu1");
    EXPECT_EQ(received->name({3, 0}), "ki2");

    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        const Board board = RandomBoard(rng);
        const auto seen = ReadPosition(WritePositionForPeer(board));
        ASSERT_TRUE(seen);
        for (int d = 0; d < 64; ++d) {
            const Square s = SquareAt(d);
            ASSERT_EQ(seen->at({7 - s.x, 7 - s.y}), SwapSide(board.at(s)));
        }
        // Seen from the other side twice, a board is itself again.
        EXPECT_EQ(ReadPosition(WritePositionForPeer(*seen)), board);
    }
}

TEST(PieceNames, KindSideAndCodeFollowTheName) {
    for (PieceCode c = 0; c < kPieceCodeCount; ++c) {
        const std::string_view name = ImageNames[c];
        EXPECT_EQ(CodeOfName(name), c);
        EXPECT_EQ(KindOfName(name), KindOf(c)) << name;
        EXPECT_EQ(IsLocalName(name), IsLocal(c)) << name;
        EXPECT_EQ(IsOpponentName(name), IsOpponent(c)) << name;
    }
    EXPECT_EQ(CodeOfName("ki3"), -1);
    EXPECT_EQ(KindOfName("xx1"), PieceKind::None);
    EXPECT_EQ(KindOfName(""), PieceKind::None);
}
