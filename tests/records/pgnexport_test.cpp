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
#include <tuple>

using namespace quorin;

namespace {

constexpr Colour W = Colour::White, B = Colour::Black;

// A board given by the placement field of a FEN: rank 8 first, White in upper case.
Board Placement(const std::string& fen) {
    std::string rows;
    for (char ch : fen)
        rows.append(std::isdigit(ch) ? std::size_t(ch - '0') : ch != '/',
                    std::isdigit(ch) ? '.' : ch);
    return test::Diagram(rows);
}

// A record as the player of `colour` writes it: `start` as its first line (none: the start
// layout, unwritten), then a line a step. "+" joins moves made at once; "Q" crowns a piece.
std::vector<std::string> Record(Colour colour, const std::string& start, const char* steps) {
    const auto seen = [&](const Board& b) { return colour == W ? b : Turned(b); };
    const auto square = [&](const std::string& s, std::size_t i) {
        return colour == W ? Square{s[i] - 'a', '8' - s[i + 1]}
                           : Square{'h' - s[i], s[i + 1] - '1'};
    };
    Board board = seen(start.empty() ? *ReadPosition(InitialPosition) : Placement(start));
    std::vector<std::string> lines;
    if (!start.empty())
        lines.push_back(WritePosition(board));
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
        for (std::size_t i = 0; i + 4 <= step.size(); i += 5) {
            const Square from = square(step, i), to = square(step, i + 2);
            const PieceCode piece = board.at(from);
            board.set(from, kEmptyCode);
            board.set(to, step.substr(i + 4, 1) == "Q" ? piece - piece % 6 + 4 : piece);
        }
        lines.push_back(WritePosition(board));
    }
    return lines;
}

const std::string kTags = "[Event \"?\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n[Round \"?\"]\n"
                          "[White \"?\"]\n[Black \"?\"]\n";
constexpr const char* kOpening = "e2e4 d7d5 e4d5 d8d5 b1c3 d5e5 f1e2 c8g4 g1f3 e5a5 e1g1+h1f1 b8c6 "
                                 "d2d3 e8c8+a8d8";
constexpr const char* kOpeningText = "1. e4 d5 2. exd5 Qxd5 3. Nc3 Qe5+ 4. Be2 Bg4 5. Nf3 Qa5 6. "
                                     "O-O Nc6 7. d3 O-O-O\n*";

} // namespace

TEST(PgnExport, ReadsEveryStepAsAMove) {
    // The recording player's colour, the first position (a FEN placement, or none for the start
    // layout), the steps, the rest of the FEN tag, the game text ending in the result.
    const std::tuple<Colour, const char*, const char*, const char*, const char*> cases[] = {
        // From the start: castling on both wings, checks, mate.
        {W, "", kOpening, "", kOpeningText},
        {B, "", "f2f3 e7e5 g2g4 d8h4", "", "1. f3 e5 2. g4 Qh4# *"},
        // Mid-game, Black to move: rank or file named; a promotion by capture with check.
        {W, "r7/1P6/4k3/8/R7/8/8/RN3N1K", "e6d5 a4a3 d5e4 b1d2 e4d5 b7a8Q", "b - - 0 1",
         "1... Kd5 2. R4a3 Ke4 3. Nbd2+ Kd5 4. bxa8=Q+ *"},
        // File and rank both named; each side castles where it still may.
        {W, "8/8/1k6/8/4Q2Q/8/8/K6Q", "h4e1", "w - - 0 1", "1. Qh4e1 *"},
        {W, "r3k3/8/8/8/8/8/8/R3K3", "e1c1+a1d1", "w Qq - 0 1", "1. O-O-O *"},
        {B, "r3k2r/4p3/8/8/8/8/8/3KQ3", "e8g8+h8f8 e1e7 f8e8", "b kq - 0 1",
         "1... O-O 2. Qxe7 Rfe8 *"},
        // A king taken ends the game; so does a step that is no move.
        {W, "4k3/8/8/8/8/8/8/4R1K1", "e1e8 g1g2", "w - - 0 1",
         "1. Rxe8 {記録の3行目はキングが取られた後の局面です。以降は書き出していません。} 1-0"},
        {B, "4k3/8/8/8/8/8/8/r5K1", "a1g1", "b - - 0 1", "1... Rxg1 0-1"},
        {W, "", "e2e4 d2d4", "",
         "1. e4 {記録の2行目では同じ側が続けて指しています。以降は書き出していません。} *"},
        {W, "", "e2e4 a7a3", "",
         "1. e4 {記録の2行目の局面へは一手では行けません。以降は書き出していません。} *"}};
    for (const auto& [colour, start, steps, fen, text] : cases) {
        SCOPED_TRACE(steps);
        const std::string game = text, result = game.substr(game.find_last_of(" \n") + 1);
        const std::string setUp =
            *fen ? "[SetUp \"1\"]\n[FEN \"" + std::string(start) + " " + fen + "\"]\n" : "";
        EXPECT_EQ(ExportPgn(Record(colour, start, steps)),
                  kTags + "[Result \"" + result + "\"]\n" + setUp + "\n" + game + "\n\n");
    }
    EXPECT_EQ(ExportPgn({"no position", ""}), std::nullopt);
}

// A record read from its file, with any line ends, its comments counting the lines passed
// over; the PGN file's name always ends in ".pgn".
TEST(PgnFile, ReadsTheRecordFileAndNamesItsExportDotPgn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("game.chs");
    test::Write(path, "x\r\n\n" + QByteArray::fromStdString(Record(W, "", "e2e4")[0]) + "\rno\n");
    EXPECT_TRUE(ReadRecordAsPgn(path).text.endsWith(
        "1. e4 {記録の4行目は局面ではありません。以降は書き出していません。} *\n\n"));
    const std::pair<const char*, const char*> names[] = {{"game", "game.pgn"},
                                                         {"game.pgn", "game.pgn"},
                                                         {"victim.chs", "victim.chs.pgn"},
                                                         {"Virir.txt", "Virir.txt.pgn"},
                                                         {"a.b/game.PGN", "a.b/game.PGN.pgn"}};
    for (const auto& [answer, name] : names)
        EXPECT_EQ(PgnFileName(answer), name);
}
