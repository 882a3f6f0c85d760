// Holds the move check against a second, independent generator of legal moves, built the
// way a chess engine builds one: a 0x88 board, offset tables per piece, pseudo-legal moves
// kept when an attack test that looks outward from the king finds it safe. The pairs the
// move check allows must be exactly its legal moves (there is no castling or en passant
// here; a promotion is one pair), and a refusal must carry its text exactly when the move
// leaves the king attacked.

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

constexpr bool Off(int sq) {
    return (sq & 0x88) != 0;
}
constexpr int Sq(int index) {
    return 16 * (index / 8) + index % 8;
}
constexpr int Index(int sq) {
    return 8 * (sq >> 4) + (sq & 7);
}
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
        const bool diagonal = d == -17 || d == -15 || d == 15 || d == 17;
        int sq = target + d;
        while (!Off(sq) && c[sq] == kEmptyCode)
            sq += d;
        if (is(sq, kQueen) || is(sq, diagonal ? kBishop : kRook))
            return true;
    }
    return false;
}

std::set<Move> LegalMoves(const Board& board) {
    const Cells cells = ToCells(board);
    std::set<Move> legal;
    const auto tryMove = [&](int from, int to) {
        Cells after = cells;
        after[to] = after[from];
        after[from] = kEmptyCode;
        int king = -1;
        for (int sq = 0; sq < 128; ++sq)
            if (!Off(sq) && after[sq] == kKingKind)
                king = sq;
        if (king < 0 || !Attacked(after, king))
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
        const auto& steps = kind == kKnightKind ? kKnight : kKing;
        for (int d : steps) {
            const bool diagonal = d == -17 || d == -15 || d == 15 || d == 17;
            if ((kind == kRook && diagonal) || (kind == kBishop && !diagonal))
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

// Random positions that are legal with the local side to move: one king each, no pawn on
// the first or last row, the opponent's king not attacked (so the kings are not side by
// side). Often an opponent slider stands on a line through the local king, so checks,
// double checks and pins are common.
Board RandomPosition(std::mt19937& rng) {
    std::uniform_int_distribution<int> cell(0, 63), kind(0, 4), count(0, 28), pick(0, 7);
    while (true) {
        Board board;
        const int king = cell(rng);
        board.set(SquareAt(cell(rng)), kKingKind + 6);
        board.set(SquareAt(king), kKingKind);
        for (int n = count(rng); n > 0; --n) {
            const Square at = SquareAt(cell(rng));
            if (board.isEmpty(at))
                board.set(at, kind(rng) + (n % 2 ? 6 : 0));
        }
        if (pick(rng) < 4) {
            const int d = kKing[pick(rng)];
            int sq = Sq(king);
            for (int steps = 2 + pick(rng) % 5; steps > 0 && !Off(sq + d); --steps)
                sq += d;
            const bool diagonal = d == -17 || d == -15 || d == 15 || d == 17;
            if (sq != Sq(king) && board.isEmpty(SquareAt(Index(sq))))
                board.set(SquareAt(Index(sq)), 6 + (pick(rng) < 3 ? kQueen
                                                    : diagonal    ? kBishop
                                                                  : kRook));
        }
        bool pawnsFine = true;
        for (int i = 0; i < 64; ++i) {
            const PieceCode c = board.at(SquareAt(i));
            pawnsFine &= !((c == kPawn || c == kPawn + 6) && (i < 8 || i >= 56));
        }
        const Board theirs = *ReadPosition(WritePositionForPeer(board));
        const auto theirKing = theirs.find(kKingKind);
        if (pawnsFine && board.find(kKingKind + 6) && theirKing &&
            !Attacked(ToCells(theirs), Sq(IndexOf(*theirKing))))
            return board;
    }
}

// Every pair the window may ask about: a local piece onto an empty or opponent cell.
void ExpectSameAsReference(const Board& board) {
    const std::set<Move> legal = LegalMoves(board);
    const Cells cells = ToCells(board);
    const int king = IndexOf(*board.find(kKingKind));
    ASSERT_EQ(IsKingInCheck(board), Attacked(cells, Sq(king))) << WritePosition(board);
    for (int from = 0; from < 64; ++from) {
        if (!IsLocal(board.at(SquareAt(from))))
            continue;
        for (int to = 0; to < 64; ++to) {
            if (IsLocal(board.at(SquareAt(to))))
                continue;
            const MoveVerdict v =
                IsMoveAllowed(board, SquareAt(to), SquareAt(from), board.name(SquareAt(from)));
            ASSERT_EQ(v.allowed, legal.count({from, to}) == 1)
                << WritePosition(board) << "\nfrom " << from << " to " << to;
            Cells after = cells;
            after[Sq(to)] = after[Sq(from)];
            after[Sq(from)] = kEmptyCode;
            const bool exposed = Attacked(after, Sq(from == king ? to : king));
            const std::string_view text = !exposed       ? std::string_view()
                                          : from == king ? kKingCannotGoThere
                                                         : kMoveLeavesCheck;
            ASSERT_EQ(v.refusal, v.allowed ? std::string_view() : text)
                << WritePosition(board) << "\nfrom " << from << " to " << to;
        }
    }
}

} // namespace

// The reference itself counts the known numbers of move sequences from the start.
TEST(ReferenceMoves, CountsTheKnownSequencesFromTheStart) {
    const auto count = [](auto& self, const Board& board, int depth) -> long {
        if (depth == 0)
            return 1;
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
    for (int i = 0; i < 4000; ++i) {
        const Board board = RandomPosition(rng);
        inCheck += IsKingInCheck(board);
        ExpectSameAsReference(board);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(inCheck, 1000); // the positions do try the check rules
}
