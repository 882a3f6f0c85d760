#include "records/pgnexport.h"
#include "records/pgnfile.h"
#include "records/pgnmoves.h"
#include "rules/position.h"
#include "support/diagram.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cctype>
#include <sstream>

using namespace quorin;
using quorin::test::Diagram;

namespace {

constexpr Colour W = Colour::White, B = Colour::Black;

// A board given by the placement field of a FEN: rank 8 first, White in upper case.
Board Placement(const std::string& fen) {
    std::string rows;
    for (char ch : fen)
        rows.append(std::isdigit(ch) ? std::size_t(ch - '0') : ch != '/',
                    std::isdigit(ch) ? '.' : ch);
    return Diagram(rows);
}

// A record as the player of `colour` writes it: the position `start` as its first line, or,
// when there is none, the start layout, which is never written. Then one line per step:
// "e2e4" moves a piece, "+" joins moves made at once, a "Q" after a move crowns the piece,
// "~" before a step leaves its line out, "new" sets up the start layout unwritten, "junk"
// is a line that is no position.
std::vector<std::string> Record(Colour colour, const std::string& start, const char* steps) {
    const auto seen = [&](const Board& b) { return colour == W ? b : Turned(b); };
    const auto square = [&](const std::string& s, std::size_t i) {
        return colour == W ? Square{s[i] - 'a', '8' - s[i + 1]}
                           : Square{'h' - s[i], s[i + 1] - '1'};
    };
    const Board initial = *ReadPosition(InitialPosition);
    Board board = seen(start.empty() ? initial : Placement(start));
    std::vector<std::string> lines;
    if (!start.empty())
        lines.push_back(WritePosition(board));
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
        if (step == "junk")
            lines.push_back(step);
        if (step == "new")
            board = seen(initial);
        if (step == "new" || step == "junk")
            continue;
        for (std::size_t i = step[0] == '~'; i + 4 <= step.size(); i += 5) {
            const Square from = square(step, i), to = square(step, i + 2);
            const PieceCode piece = board.at(from);
            board.set(from, kEmptyCode);
            board.set(to, step.substr(i + 4, 1) == "Q" ? piece - piece % 6 + 4 : piece);
        }
        if (step[0] != '~')
            lines.push_back(WritePosition(board));
    }
    return lines;
}

struct PgnCase {
    Colour colour;
    const char* start;
    const char* steps;
    const char* fen;  // the FEN tag after the placement (`start`); none from the start
    const char* text; // the game text, ending in the result
};

class Pgn : public ::testing::TestWithParam<PgnCase> {};

constexpr const char* kOpening = "e2e4 d7d5 e4d5 d8d5 b1c3 d5e5 f1e2 c8g4 g1f3 e5a5 e1g1+h1f1 b8c6 "
                                 "d2d3 e8c8+a8d8";
constexpr const char* kOpeningText = "1. e4 d5 2. exd5 Qxd5 3. Nc3 Qe5+ 4. Be2 Bg4 5. Nf3 Qa5 6. "
                                     "O-O Nc6 7. d3 O-O-O\n*";

} // namespace

TEST_P(Pgn, ReadsEveryStepAsAMove) {
    const PgnCase& c = GetParam();
    SCOPED_TRACE(c.steps);
    const auto pgn = ExportPgn(Record(c.colour, c.start, c.steps));
    ASSERT_TRUE(pgn);
    const std::string text = c.text;
    const std::string result = text.substr(text.find_last_of(" \n") + 1);
    const std::string setUp =
        *c.fen ? "[SetUp \"1\"]\n[FEN \"" + std::string(c.start) + " " + c.fen + "\"]\n" : "";
    EXPECT_EQ(pgn->substr(pgn->find("[Result")),
              "[Result \"" + result + "\"]\n" + setUp + "\n" + text + "\n\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Pgn,
    ::testing::Values(
        // From the start, by either player: the same moves, castling on both wings.
        PgnCase{W, "", kOpening, "", kOpeningText}, PgnCase{B, "", kOpening, "", kOpeningText},
        PgnCase{B, "", "f2f3 e7e5 g2g4 d8h4", "", "1. f3 e5 2. g4 Qh4# *"},
        // Mid-game, Black to move: rank or file named; a promotion by capture with check.
        PgnCase{W, "r7/1P6/4k3/8/R7/8/8/RN3N1K", "e6d5 a4a3 d5e4 b1d2 e4d5 b7a8Q", "b - - 0 1",
                "1... Kd5 2. R4a3 Ke4 3. Nbd2+ Kd5 4. bxa8=Q+ *"},
        // File and rank both named; White castles long, where it still may.
        PgnCase{W, "8/8/1k6/8/4Q2Q/8/8/K6Q", "h4e1", "w - - 0 1", "1. Qh4e1 *"},
        PgnCase{W, "r3k3/8/8/8/8/8/8/R3K3", "e1c1+a1d1", "w Qq - 0 1", "1. O-O-O *"},
        // Black's colour from a castling, though kings and queens stand as for White ...
        PgnCase{B, "r3k2r/4p3/8/8/8/8/8/3KQ3", "e8g8+h8f8 e1e7 f8e8", "b kq - 0 1",
                "1... O-O 2. Qxe7 Rfe8 *"},
        // ... and from the kings on their start squares.
        PgnCase{B, "4k3/8/8/8/8/8/4P3/4K3", "e2e4 e8d7", "w - - 0 1", "1. e4 Kd7 *"},
        // A king taken ends the game.
        PgnCase{
            W, "4k3/8/8/8/8/8/8/4R1K1", "e1e8 g1g2", "w - - 0 1",
            "1. Rxe8 {記録の3行目はキングが取られた後の局面です。以降は書き出していません。} 1-0"},
        PgnCase{B, "4k3/8/8/8/8/8/8/r5K1", "a1g1", "b - - 0 1", "1... Rxg1 0-1"},
        // A step that is no move ends the game text.
        PgnCase{W, "", "e2e4 d2d4", "",
                "1. e4 {記録の2行目では同じ側が続けて指しています。以降は書き出していません。} *"},
        PgnCase{
            W, "", "e2e4 ~e7e5 g1f3", "",
            "1. e4 {記録の2行目の前に一手分の局面が抜けています。以降は書き出していません。} *"},
        PgnCase{B, "", "e2e4 e7e5 new d2d4", "",
                "1. e4 e5 {記録の3行目から新しい対局です。以降は書き出していません。} *"},
        PgnCase{W, "", "e2e4 junk", "",
                "1. e4 {記録の2行目は局面ではありません。以降は書き出していません。} *"},
        PgnCase{W, "", "e2e4 a7a3", "",
                "1. e4 {記録の2行目の局面へは一手では行けません。以降は書き出していません。} *"}));

// Lines before the first position are passed over; a lone position with Black in check has
// Black to move.
TEST(PgnExport, SevenTagsThenTheGameAndNothingWithoutAPosition) {
    PgnTags tags;
    tags.Date = "2024.05.06";
    tags.White = "A \"B\"";
    EXPECT_EQ(ExportPgn({"junk", WritePosition(Placement("4k3/8/8/8/8/8/8/4R1K1"))}, tags),
              "[Event \"?\"]\n[Site \"?\"]\n[Date \"2024.05.06\"]\n[Round \"?\"]\n"
              "[White \"A \\\"B\\\"\"]\n[Black \"?\"]\n[Result \"*\"]\n[SetUp \"1\"]\n"
              "[FEN \"4k3/8/8/8/8/8/8/4R1K1 b - - 0 1\"]\n\n*\n\n");
    EXPECT_EQ(ExportPgn({"junk", ""}), std::nullopt);
}

TEST(PgnFile, WritesWholeUnderTheTypedNameOrReportsWhyNot) {
    QTemporaryDir dir;
    const std::pair<const char*, const char*> names[] = {
        {"game", "game.pgn"}, {"game.PGN", "game.PGN"}, {"a.b/c", "a.b/c.pgn"}};
    for (const auto& [answer, name] : names)
        EXPECT_EQ(PgnFileName(answer), name);
    EXPECT_EQ(WritePgnFile("game", dir.path(), "*\n"), QString());
    EXPECT_EQ(test::Contents(dir.filePath("game.pgn")), "*\n");
    EXPECT_TRUE(WritePgnFile("missing/game", dir.path(), "*\n").contains("missing"));

    test::Write(dir.filePath("empty.chs"), "\r\n");
    for (const char* record : {"empty.chs", "none.chs"})
        EXPECT_TRUE(ReadRecordAsPgn(dir.filePath(record)).failure.contains(record)) << record;
}
