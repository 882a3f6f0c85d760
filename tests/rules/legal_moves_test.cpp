// Holds the move check against an independent generator of legal moves built the way a chess
// engine builds one: a 0x88 board, offset tables per piece, pseudo-legal moves kept when an
// attack test looking outward from the king finds it safe (no castling or en passant here).

#include "rules/movecheck.h"
#include "rules/position.h"

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

// Whether the local king (on `king`) is attacked once the piece on `from` stands on `to`.
bool Exposes(Cells c, int king, int from, int to) {
    c[to] = c[from];
    c[from] = kEmptyCode;
    return Attacked(c, from == king ? to : king);
}

const auto KingSq = [](const Board& board) { return Sq(IndexOf(*board.find(kKingKind))); };

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
        if (kind == kPawn) {
            if (free(from - 16)) {
                tryMove(from, from - 16);
                if ((from >> 4) == 6 && free(from - 32))
                    tryMove(from, from - 32);
            }
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

// Random legal positions with the local side to move: one king each, no pawn on the first or
// last row, the opponent's king not attacked. Often an opponent slider stands on a line
// through the local king, so checks, double checks and pins are common.
Board RandomPosition(std::mt19937& rng) {
    std::uniform_int_distribution<int> cell(0, 63), kind(0, 4), count(0, 28), pick(0, 7);
    while (true) {
        Board board;
        const int king = cell(rng);
        board.set(SquareAt(cell(rng)), kKingKind + 6);
        board.set(SquareAt(king), kKingKind);
        for (int n = count(rng); n > 0; --n) {
            const Square at = SquareAt(cell(rng));
            const int k = kind(rng);
            if (board.isEmpty(at) && (k != kPawn || at.y % 7 != 0))
                board.set(at, k + (n % 2 ? 6 : 0));
        }
        if (pick(rng) < 4) {
            const int d = kKing[pick(rng)];
            int sq = Sq(king);
            for (int steps = 2 + pick(rng) % 5; steps > 0 && !Off(sq + d); --steps)
                sq += d;
            const Square at = SquareAt(Index(sq));
            if (sq != Sq(king) && board.isEmpty(at))
                board.set(at, 6 + (pick(rng) < 3 ? kQueen : Diagonal(d) ? kBishop : kRook));
        }
        const Board theirs = *ReadPosition(WritePositionForPeer(board));
        if (theirs.find(kKingKind) && !Attacked(ToCells(theirs), KingSq(theirs)))
            return board;
    }
}

// Every pair the window may ask about: a local piece onto an empty or opponent cell. A refusal
// carries its text exactly when the move leaves the king attacked.
void ExpectSameAsReference(const Board& board) {
    const std::set<Move> legal = LegalMoves(board);
    const Cells cells = ToCells(board);
    const int king = KingSq(board);
    ASSERT_EQ(IsKingInCheck(board), Attacked(cells, king)) << WritePosition(board);
    for (int from = 0; from < 64; ++from) {
        for (int to = 0; to < 64; ++to) {
            if (!IsLocal(board.at(SquareAt(from))) || IsLocal(board.at(SquareAt(to))))
                continue;
            const MoveVerdict v =
                IsMoveAllowed(board, SquareAt(to), SquareAt(from), board.name(SquareAt(from)));
            const bool allowed = legal.count({from, to}) == 1;
            const std::string_view text = allowed || !Exposes(cells, king, Sq(from), Sq(to))
                                              ? std::string_view()
                                          : Sq(from) == king ? kKingCannotGoThere
                                                             : kMoveLeavesCheck;
            ASSERT_EQ(std::pair(v.allowed, v.refusal), std::pair(allowed, text))
                << WritePosition(board) << "\nfrom " << from << " to " << to;
        }
    }
}

} // namespace

// The reference itself counts the known numbers of move sequences from the start.
TEST(ReferenceMoves, CountsTheKnownSequencesFromTheStart) {
    const auto count = [](auto& self, const Board& board, int depth) -> long {
        if (depth == 0)
            return 1L;
        long n = 0;
        for (const auto& [from, to] : LegalMoves(board)) {
            Board next = board;
            next.set(SquareAt(to), board.at(SquareAt(from)));
            next.set(SquareAt(from), kEmptyCode);
            n += self(self, *ReadPosition(WritePositionForPeer(next)), depth - 1);
        }
        return n;
    };
    const Board start = *ReadPosition(InitialPosition);
    EXPECT_EQ(count(count, start, 1), 20);
    EXPECT_EQ(count(count, start, 2), 400);
    EXPECT_EQ(count(count, start, 3), 8902);
}

TEST(LegalMoves, RandomPositionsMatchTheReference) {
    std::mt19937 rng(20261206);
    int inCheck = 0;
    for (int i = 0; i < 4000 && !HasFatalFailure(); ++i) {
        const Board board = RandomPosition(rng);
        inCheck += IsKingInCheck(board);
        ExpectSameAsReference(board);
    }
    EXPECT_GT(inCheck, 1000); // the positions do try the check rules
}
