// Step and slide codes, and the move check held against an independent generator of legal
// moves built as a chess engine builds one: a 0x88 board, offset tables per piece, pseudo-legal
// moves kept when an attack test outward from the king finds it safe (no castling, en passant).

#include "rules/movecheck.h"
#include "rules/movement.h"
#include "rules/position.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <utility>

using namespace quorin;

namespace {

using Move = std::pair<int, int>; // from, to as 8 * y + x
using Cells = std::array<int, 128>;

constexpr auto Off = [](int sq) { return (sq & 0x88) != 0; };
constexpr auto Sq = [](int index) { return 16 * (index / 8) + index % 8; };
constexpr auto Index = [](int sq) { return 8 * (sq >> 4) + (sq & 7); };
constexpr auto Diagonal = [](int d) { return d == -17 || d == -15 || d == 15 || d == 17; };
constexpr std::array<int, 8> kKnight = {-33, -31, -18, -14, 14, 18, 31, 33};
constexpr std::array<int, 8> kKing = {-17, -16, -15, -1, 1, 15, 16, 17};
constexpr int kPawn = 0, kRook = 1, kKnightKind = 2, kBishop = 3, kQueen = 4, kKingKind = 5;

Cells ToCells(const Board& board) {
    Cells cells;
    cells.fill(kEmptyCode);
    for (int i = 0; i < 64; ++i)
        cells[Sq(i)] = board.at(SquareAt(i));
    return cells;
}

// Whether an opponent piece attacks `target`, looking outward from it.
bool Attacked(const Cells& c, int target) {
    const auto is = [&](int sq, int kind) { return !Off(sq) && c[sq] == kind + 6; };
    if (is(target - 17, kPawn) || is(target - 15, kPawn)) // opponent pawns capture downwards
        return true;
    for (int d : kKnight)
        if (is(target + d, kKnightKind))
            return true;
    for (int d : kKing) {
        if (is(target + d, kKingKind))
            return true;
        int sq = target + d;
        while (!Off(sq) && c[sq] == kEmptyCode)
            sq += d;
        if (is(sq, kQueen) || is(sq, Diagonal(d) ? kBishop : kRook))
            return true;
    }
    return false;
}

// Whether the local king, if any, is attacked once the piece on `from` stands on `to`.
bool Exposes(Cells c, int king, int from, int to) {
    c[to] = c[from];
    c[from] = kEmptyCode;
    return king >= 0 && Attacked(c, from == king ? to : king);
}

// The local king's square, or -1 when there is none.
const auto KingSq = [](const Board& board) {
    const auto king = board.find(kKingKind);
    return king ? Sq(IndexOf(*king)) : -1;
};

std::set<Move> LegalMoves(const Board& board) {
    const Cells cells = ToCells(board);
    const int king = KingSq(board);
    std::set<Move> legal;
    const auto tryMove = [&](int from, int to) {
        if (!Exposes(cells, king, from, to))
            legal.emplace(Index(from), Index(to));
    };
    const auto free = [&](int sq) { return !Off(sq) && cells[sq] == kEmptyCode; };
    const auto enemy = [&](int sq) { return !Off(sq) && IsOpponent(cells[sq]); };
    for (int from = 0; from < 128; ++from) {
        if (Off(from) || !IsLocal(cells[from]))
            continue;
        const int kind = cells[from];
        if (kind == kPawn) { // one step up, two from row 6, captures diagonally up
            const int steps = !free(from - 16) ? 0 : (from >> 4) == 6 && free(from - 32) ? 2 : 1;
            for (int n = 1; n <= steps; ++n)
                tryMove(from, from - 16 * n);
            for (int d : {-17, -15})
                if (enemy(from + d))
                    tryMove(from, from + d);
            continue;
        }
        const bool slides = kind == kRook || kind == kBishop || kind == kQueen;
        for (int d : kind == kKnightKind ? kKnight : kKing) {
            if ((kind == kRook && Diagonal(d)) || (kind == kBishop && !Diagonal(d)))
                continue;
            for (int to = from + d; free(to) || enemy(to); to += d) {
                tryMove(from, to);
                if (!slides || enemy(to))
                    break;
            }
        }
    }
    return legal;
}

// Crowded random positions with the local side to move, so checks and pins are common: no pawn
// on the first or last row, mostly a king each (without it nothing local is ever attacked).
Board RandomPosition(std::mt19937& rng) {
    std::uniform_int_distribution<int> cell(0, 63), kind(0, 4), count(0, 28);
    Board board;
    for (int n = count(rng); n > 0; --n) {
        const Square at = SquareAt(cell(rng));
        const int k = kind(rng);
        if (k != kPawn || at.y % 7 != 0)
            board.set(at, k + (n % 2 ? 6 : 0));
    }
    board.set(SquareAt(cell(rng)), kKingKind + 6);
    if (count(rng) > 1)
        board.set(SquareAt(cell(rng)), kKingKind);
    return board;
}

} // namespace

// Every pair the window may ask about: a local piece onto an empty or opponent cell. A refusal
// carries its text exactly when the move leaves the king attacked.
TEST(LegalMoves, RandomPositionsMatchTheReference) {
    std::mt19937 rng(20261206);
    int inCheck = 0;
    for (int i = 0; i < 4000; ++i) {
        const Board board = RandomPosition(rng);
        const std::set<Move> legal = LegalMoves(board);
        const Cells cells = ToCells(board);
        const int king = KingSq(board);
        inCheck += king >= 0 && Attacked(cells, king);
        ASSERT_EQ(IsKingInCheck(board), king >= 0 && Attacked(cells, king)) << WritePosition(board);
        for (int from = 0; from < 64; ++from)
            for (int to = 0; to < 64; ++to) {
                const Square s = SquareAt(from), t = SquareAt(to);
                if (!IsLocal(board.at(s)) || IsLocal(board.at(t)))
                    continue;
                const MoveVerdict v = IsMoveAllowed(board, t, s, board.name(s));
                const bool allowed = legal.count({from, to}) == 1;
                const std::string_view text = allowed || !Exposes(cells, king, Sq(from), Sq(to))
                                                  ? std::string_view()
                                              : Sq(from) == king ? kKingCannotGoThere
                                                                 : kMoveLeavesCheck;
                ASSERT_EQ(std::pair(v.allowed, v.refusal), std::pair(allowed, text))
                    << WritePosition(board) << "\nfrom " << from << " to " << to;
            }
    }
    EXPECT_GT(inCheck, 1000); // the positions do try the check rules
}

TEST(StepCode, EachCodeIsOneExactDisplacement) {
    std::string codes; // from two rows above to two rows below, each from two columns left
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            codes += std::to_string(StepCode({4 + dx, 4 + dy}, {4, 4})) + (dx < 2 ? " " : "\n");
    EXPECT_EQ(codes, "0 9 17 10 0\n13 1 2 3 15\n0 8 0 4 0\n14 7 6 5 16\n0 12 0 11 0\n");
}

TEST(SlideCode, DirectionOfAClearLineOfTwoOrMore) {
    const Board board =
        test::Diagram("........ ........ ...p.... ........ ...R.... ........ .....N.. ........");
    // Onto the pawn or the knight, but not over them; one square, off the lines, no move.
    const std::pair<Square, int> cases[] = {
        {{3, 2}, 1}, {{3, 1}, 0}, {{7, 4}, 2}, {{3, 7}, 3}, {{0, 4}, 4}, {{1, 2}, 5}, {{5, 6}, 6},
        {{6, 7}, 0}, {{6, 1}, 7}, {{1, 6}, 8}, {{3, 3}, 0}, {{4, 5}, 0}, {{5, 5}, 0}, {{3, 4}, 0}};
    for (const auto& [to, code] : cases)
        EXPECT_EQ(SlideCode(board, to, {3, 4}), code) << to.x << "," << to.y;
}
