// Holds the move check against the independent move generator in reference_moves.h: on
// random positions and on a table of hand-picked ones, the (from, to) pairs IsMoveAllowed
// allows must be exactly the legal moves, and refusals must carry the documented texts.

#include "reference_moves.h"
#include "rules/movecheck.h"
#include "rules/position.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace quorin;
using reference::FromTo;
using reference::Side;

namespace {

constexpr int kRandomPositions = 5000;

// ---------------------------------------------------------------------------------------
// Asking the move check

struct Answer {
    FromTo move;
    MoveVerdict verdict;
};

// Every pair the caller may offer: a local piece on `from`, an empty or opponent cell on
// `to`. Also fails the test when a call changes the board.
std::vector<Answer> AskAll(const Board& board) {
    std::vector<Answer> answers;
    for (int from = 0; from < 64; ++from) {
        const Square S = SquareAt(from);
        if (!IsLocal(board.at(S)))
            continue;
        for (int to = 0; to < 64; ++to) {
            const Square T = SquareAt(to);
            if (IsLocal(board.at(T)))
                continue;
            const Board before = board;
            const MoveVerdict verdict = IsMoveAllowed(board, T, S, ImageNames[board.at(S)]);
            EXPECT_EQ(board, before) << "IsMoveAllowed changed the board";
            answers.push_back(Answer{FromTo{from, to}, verdict});
        }
    }
    return answers;
}

std::vector<FromTo> AllowedMoves(const std::vector<Answer>& answers) {
    std::vector<FromTo> allowed;
    for (const Answer& a : answers) {
        if (a.verdict.allowed)
            allowed.push_back(a.move);
    }
    return allowed;
}

// The refusal text the move check documents for a refused pair: a move after which the
// local king stands attacked is refused with the king's text when the king moves and the
// check text otherwise; any other refused move is refused silently.
std::string_view ExpectedRefusal(const Board& board, const reference::KingExposure& exposure,
                                 FromTo move) {
    const Square S = SquareAt(move.from);
    if (!exposure.after(S, SquareAt(move.to)))
        return {};
    return KindOf(board.at(S)) == PieceKind::King ? kKingCannotGoThere : kMoveLeavesCheck;
}

// ---------------------------------------------------------------------------------------
// Describing a failure

std::string Cell(int index) {
    const Square s = SquareAt(index);
    std::ostringstream text;
    text << '(' << s.x << ',' << s.y << ')';
    return text.str();
}

std::string Diagram(const Board& board) {
    constexpr std::string_view kLetters = "PRNBQKprnbqk.";
    std::string text;
    for (int y = 0; y < 8; ++y) {
        text += "  ";
        for (int x = 0; x < 8; ++x)
            text += kLetters[board.at(x, y)];
        text += '\n';
    }
    return text;
}

std::string Describe(const Board& board) {
    return WritePosition(board) + "\n(upper case local, moving up; row 0 first)\n" + Diagram(board);
}

std::string MoveText(const Board& board, FromTo m) {
    return std::string(ImageNames[board.at(SquareAt(m.from))]) + " " + Cell(m.from) + "->" +
           Cell(m.to);
}

std::vector<FromTo> Minus(const std::vector<FromTo>& a, const std::vector<FromTo>& b) {
    std::vector<FromTo> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

// Empty when the move check and the reference agree on the position, else a report of
// the position and every pair and text they differ on.
std::string Compare(const Board& board) {
    const std::vector<Answer> answers = AskAll(board);
    const std::vector<FromTo> allowed = AllowedMoves(answers);
    const std::vector<FromTo> legal = reference::LegalMoves(board);
    const reference::KingExposure exposure(board);

    std::ostringstream out;
    for (FromTo m : Minus(allowed, legal))
        out << "  allowed but not legal: " << MoveText(board, m) << '\n';
    for (FromTo m : Minus(legal, allowed))
        out << "  legal but refused:     " << MoveText(board, m) << '\n';
    for (const Answer& a : answers) {
        const std::string_view expected =
            a.verdict.allowed ? std::string_view{} : ExpectedRefusal(board, exposure, a.move);
        if (a.verdict.refusal != expected) {
            out << "  refusal text of " << MoveText(board, a.move) << " is \"" << a.verdict.refusal
                << "\", expected \"" << expected << "\"\n";
        }
    }
    if (out.str().empty())
        return {};
    return "position " + Describe(board) + out.str();
}

// ---------------------------------------------------------------------------------------
// Random positions

// A deterministic source of small numbers (the engine is fully specified by the
// standard; the distributions are not, so bounds are taken by remainder).
class Dice {
public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}

    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937_64 engine_;
};

constexpr PieceCode Code(Side side, PieceKind kind) {
    return static_cast<int>(kind) + (side == Side::Local ? 0 : 6);
}

bool PawnMayStand(Square s) {
    return s.y != 0 && s.y != 7;
}

bool Place(Board& board, Square s, PieceCode code) {
    if (!IsOnBoard(s) || !board.isEmpty(s))
        return false;
    if (KindOf(code) == PieceKind::Pawn && !PawnMayStand(s))
        return false;
    board.set(s, code);
    return true;
}

PieceKind RandomKindButKing(Dice& dice) {
    // Pawns are the most common piece, queens the rarest.
    constexpr std::array<PieceKind, 11> kKinds = {
        PieceKind::Pawn,   PieceKind::Pawn,   PieceKind::Pawn,   PieceKind::Pawn,
        PieceKind::Rook,   PieceKind::Rook,   PieceKind::Knight, PieceKind::Knight,
        PieceKind::Bishop, PieceKind::Bishop, PieceKind::Queen};
    return kKinds[dice.below(static_cast<int>(kKinds.size()))];
}

Square RandomSquare(Dice& dice) {
    return Square{dice.below(8), dice.below(8)};
}

struct Direction {
    int dx;
    int dy;
};

constexpr std::array<Direction, 8> kDirections = {
    {{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};

// An opponent slider somewhere on a line through the local king, usually one that moves
// along that line, with zero, one or two pieces of either side between them: checks, pins
// and blocked lines.
void AddLineThroughKing(Board& board, Dice& dice, Square king) {
    const Direction d = kDirections[dice.below(8)];
    const bool diagonal = d.dx != 0 && d.dy != 0;
    std::vector<Square> ray;
    for (Square s{king.x + d.dx, king.y + d.dy}; IsOnBoard(s); s = {s.x + d.dx, s.y + d.dy})
        ray.push_back(s);
    if (ray.empty())
        return;

    // Mostly leave room between king and slider for a piece to stand in.
    const int size = static_cast<int>(ray.size());
    const int far = size > 1 && dice.chance(85) ? 1 + dice.below(size - 1) : dice.below(size);
    PieceKind slider = diagonal ? PieceKind::Bishop : PieceKind::Rook;
    if (dice.chance(35))
        slider = PieceKind::Queen;
    else if (dice.chance(10))
        slider = diagonal ? PieceKind::Rook : PieceKind::Bishop;
    if (!Place(board, ray[far], Code(Side::Opponent, slider)))
        return;

    const int roll = dice.below(100);
    const int between = far == 0 || roll < 20 ? 0 : roll < 90 ? 1 : 2;
    for (int i = 0; i < between; ++i) {
        const Side side = dice.chance(85) ? Side::Local : Side::Opponent;
        Place(board, ray[dice.below(far)], Code(side, RandomKindButKing(dice)));
    }
}

// An opponent knight or pawn on a square from which it checks the local king.
void AddContactChecker(Board& board, Dice& dice, Square king) {
    if (dice.chance(50)) {
        constexpr std::array<Direction, 8> kJumps = {
            {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}}};
        const Direction j = kJumps[dice.below(8)];
        Place(board, Square{king.x + j.dx, king.y + j.dy}, Code(Side::Opponent, PieceKind::Knight));
    } else {
        // The opponent pawn captures downwards, so it checks from the row above the king.
        const int side = dice.chance(50) ? -1 : 1;
        Place(board, Square{king.x + side, king.y - 1}, Code(Side::Opponent, PieceKind::Pawn));
    }
}

void AddLoosePiece(Board& board, Dice& dice) {
    const Side side = dice.chance(50) ? Side::Local : Side::Opponent;
    const PieceKind kind = RandomKindButKing(dice);
    Square s = RandomSquare(dice);
    // Pawns often wait on their start row, where the double step is possible.
    if (kind == PieceKind::Pawn && dice.chance(30))
        s.y = side == Side::Local ? 6 : 1;
    Place(board, s, Code(side, kind));
}

bool KingsApart(Square a, Square b) {
    return std::abs(a.x - b.x) > 1 || std::abs(a.y - b.y) > 1;
}

// A position with both kings (not touching), no pawn on rows 0 and 7, and the opponent
// king not attacked, so it is a legal position with the local side to move. Densities run
// from nearly empty to crowded; most positions have a line or a checker aimed at the
// local king.
Board RandomPosition(std::uint64_t seed) {
    Dice dice(seed);
    constexpr std::array<int, 5> kMaxLoosePieces = {3, 8, 14, 22, 30};
    const int maxLoose = kMaxLoosePieces[seed % kMaxLoosePieces.size()];
    for (;;) {
        Board board;
        const Square king = RandomSquare(dice);
        Square enemyKing = RandomSquare(dice);
        while (!KingsApart(king, enemyKing))
            enemyKing = RandomSquare(dice);
        board.set(king, Code(Side::Local, PieceKind::King));
        board.set(enemyKing, Code(Side::Opponent, PieceKind::King));

        const int lines = dice.below(4);
        for (int i = 0; i < lines; ++i)
            AddLineThroughKing(board, dice, king);
        if (dice.chance(20))
            AddContactChecker(board, dice, king);
        const int loose = dice.below(maxLoose + 1);
        for (int i = 0; i < loose; ++i)
            AddLoosePiece(board, dice);

        if (!reference::IsAttacked(board, enemyKing, Side::Local))
            return board;
    }
}

// ---------------------------------------------------------------------------------------
// Hand-picked positions

// A board drawn as 8 rows, row 0 first: upper case local pieces, lower case opponent,
// '.' empty.
Board FromDiagram(const std::array<std::string_view, 8>& rows) {
    constexpr std::string_view kLetters = "PRNBQKprnbqk";
    Board board;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::size_t code = kLetters.find(rows[y][x]);
            if (code != std::string_view::npos)
                board.set(Square{x, y}, static_cast<PieceCode>(code));
        }
    }
    return board;
}

struct Expect {
    Square from;
    Square to;
    bool allowed;
    std::string_view refusal; // the text of a refused move
};

Expect Allowed(Square from, Square to) {
    return Expect{from, to, true, {}};
}
Expect Silent(Square from, Square to) {
    return Expect{from, to, false, {}};
}
Expect LeavesCheck(Square from, Square to) {
    return Expect{from, to, false, kMoveLeavesCheck};
}
Expect KingBlocked(Square from, Square to) {
    return Expect{from, to, false, kKingCannotGoThere};
}

struct HandCase {
    std::string_view name;
    std::array<std::string_view, 8> rows;
    std::vector<Expect> expects;
};

std::vector<HandCase> HandCases() {
    return {
        {"BishopPinnedOnDiagonal",
         {".......k", "........", "........", "........", ".b......", "........", "...B....",
          "....K..."},
         {Allowed({3, 6}, {2, 5}), Allowed({3, 6}, {1, 4}), LeavesCheck({3, 6}, {4, 5}),
          LeavesCheck({3, 6}, {0, 3}), LeavesCheck({3, 6}, {3, 5})}},
        {"RookPinnedOnFile",
         {"k.......", "....r...", "........", "........", "........", "....R...", "........",
          "....K..."},
         {Allowed({4, 5}, {4, 6}), Allowed({4, 5}, {4, 2}), Allowed({4, 5}, {4, 1}),
          LeavesCheck({4, 5}, {3, 5}), LeavesCheck({4, 5}, {0, 5}), Allowed({4, 7}, {4, 6})}},
        {"PawnPinnedOnFileMayOnlyPush",
         {"k.......", "........", "....r...", "........", "........", "...b.b..", "....P...",
          "....K..."},
         {Allowed({4, 6}, {4, 5}), Allowed({4, 6}, {4, 4}), LeavesCheck({4, 6}, {3, 5}),
          LeavesCheck({4, 6}, {5, 5})}},
        {"PawnCapturesItsPinner",
         {"k.......", "........", "........", "........", "........", ".....b..", "......P.",
          ".......K"},
         {Allowed({6, 6}, {5, 5}), LeavesCheck({6, 6}, {6, 5}), LeavesCheck({6, 6}, {6, 4}),
          Allowed({7, 7}, {7, 6})}},
        {"DoubleCheckOnlyKingMoves",
         {"...Rr..k", "........", "........", ".B......", "........", "...n....", "........",
          "....K..."},
         {LeavesCheck({1, 3}, {3, 5}), LeavesCheck({3, 0}, {4, 0}), LeavesCheck({3, 0}, {3, 5}),
          KingBlocked({4, 7}, {4, 6}), KingBlocked({4, 7}, {5, 6}), Allowed({4, 7}, {3, 6}),
          Allowed({4, 7}, {3, 7}), Allowed({4, 7}, {5, 7})}},
        {"KingCannotCaptureDefendedPiece",
         {"k.......", "........", "........", "........", "......b.", "..N.....", "....q...",
          "....K..."},
         {KingBlocked({4, 7}, {4, 6}), KingBlocked({4, 7}, {3, 7}), KingBlocked({4, 7}, {5, 6}),
          Allowed({2, 5}, {4, 6}), LeavesCheck({2, 5}, {3, 3})}},
        {"KingCapturesUndefendedPiece",
         {"k.......", "........", "........", "........", "........", "........", "...r....",
          "....K..."},
         {Allowed({4, 7}, {3, 6}), Allowed({4, 7}, {5, 7}), KingBlocked({4, 7}, {4, 6}),
          KingBlocked({4, 7}, {3, 7}), KingBlocked({4, 7}, {5, 6})}},
        {"KingCannotRetreatAlongCheckingRook",
         {"....r..k", "........", "........", "........", "....K...", "........", "........",
          "........"},
         {KingBlocked({4, 4}, {4, 5}), KingBlocked({4, 4}, {4, 3}), Allowed({4, 4}, {3, 4}),
          Allowed({4, 4}, {5, 5}), Allowed({4, 4}, {3, 3})}},
        {"KingCannotRetreatAlongCheckingBishop",
         {".......k", ".b......", "........", "........", "....K...", "........", "........",
          "........"},
         {KingBlocked({4, 4}, {5, 5}), KingBlocked({4, 4}, {3, 3}), Allowed({4, 4}, {4, 3}),
          Allowed({4, 4}, {3, 4}), Allowed({4, 4}, {5, 3})}},
        {"PawnStepsBlocked",
         {"k.......", "........", "........", "........", ".....n..", "..n....P", "..P..P..",
          "....K..."},
         {Silent({2, 6}, {2, 5}), Silent({2, 6}, {2, 4}), Allowed({5, 6}, {5, 5}),
          Silent({5, 6}, {5, 4}), Allowed({7, 5}, {7, 4}), Silent({7, 5}, {7, 3}),
          Silent({2, 6}, {3, 5})}},
        {"PawnReachesRowZero",
         {"b.r.n..k", "P..P....", "........", "........", "........", "........", "........",
          "....K..."},
         {Allowed({3, 1}, {3, 0}), Allowed({3, 1}, {2, 0}), Allowed({3, 1}, {4, 0}),
          Silent({0, 1}, {0, 0}), Silent({0, 1}, {1, 0})}},
        {"KnightPinnedCannotMove",
         {"k.......", "........", "........", "........", "...b....", "........", ".N......",
          "K......."},
         {LeavesCheck({1, 6}, {3, 5}), LeavesCheck({1, 6}, {2, 4}), LeavesCheck({1, 6}, {0, 4}),
          LeavesCheck({1, 6}, {3, 7}), Silent({1, 6}, {2, 5}), Silent({1, 6}, {3, 4})}},
        {"BlockerDiscoversAttackOnRow",
         {".......k", "........", "........", "K..P...r", "........", "........", "........",
          "........"},
         {LeavesCheck({3, 3}, {3, 2}), Allowed({0, 3}, {1, 3}), Allowed({0, 3}, {0, 2})}},
        {"EnPassantSquareRefused",
         {"k.......", "........", "........", "...pPp..", "........", "........", "........",
          "....K..."},
         {Silent({4, 3}, {3, 2}), Silent({4, 3}, {5, 2}), Allowed({4, 3}, {4, 2}),
          Silent({4, 3}, {3, 3})}},
        {"OpponentKingGuardsSquares",
         {"........", "........", "....k...", "........", "....K...", "........", "........",
          "........"},
         {KingBlocked({4, 4}, {3, 3}), KingBlocked({4, 4}, {4, 3}), KingBlocked({4, 4}, {5, 3}),
          Allowed({4, 4}, {4, 5}), Allowed({4, 4}, {3, 4})}},
        {"OpponentPawnAttacksDownward",
         {"k.......", "........", "........", "........", "........", "..p.K...", "........",
          "........"},
         {KingBlocked({4, 5}, {3, 6}), Allowed({4, 5}, {3, 4}), Allowed({4, 5}, {3, 5})}},
        {"KnightCheckCannotBeBlocked",
         {".......k", "........", "........", "........", "........", "R..n....", "........",
          "....K..."},
         {Allowed({0, 5}, {3, 5}), LeavesCheck({0, 5}, {0, 6}), LeavesCheck({0, 5}, {0, 7}),
          KingBlocked({4, 7}, {5, 6}), Allowed({4, 7}, {3, 7})}},
        {"RookCheckBlockedOrCaptured",
         {".......k", "....r...", "........", "........", "R......B", "........", "........",
          "....K..."},
         {Allowed({0, 4}, {4, 4}), LeavesCheck({0, 4}, {0, 0}), Allowed({7, 4}, {4, 1}),
          LeavesCheck({7, 4}, {6, 5}), Silent({0, 4}, {4, 5})}},
        {"PawnCheckCaptured",
         {"k.......", "........", "........", "........", "...p....", "..P.K...", "........",
          "........"},
         {Allowed({2, 5}, {3, 4}), LeavesCheck({2, 5}, {2, 4}), Allowed({4, 5}, {3, 4}),
          Allowed({4, 5}, {4, 4})}},
    };
}

class HandPicked : public testing::TestWithParam<HandCase> {};

TEST_P(HandPicked, MoveCheckAnswersAsExpected) {
    const HandCase& c = GetParam();
    const Board board = FromDiagram(c.rows);
    ASSERT_FALSE(reference::IsAttacked(board, *board.find(Code(Side::Opponent, PieceKind::King)),
                                       Side::Local))
        << "not a legal position: " << Describe(board);

    for (const Expect& e : c.expects) {
        const Board before = board;
        const MoveVerdict v = IsMoveAllowed(board, e.to, e.from, board.name(e.from));
        EXPECT_EQ(board, before);
        const std::string move = MoveText(board, FromTo{IndexOf(e.from), IndexOf(e.to)});
        EXPECT_EQ(v.allowed, e.allowed) << move << " in\n" << Describe(board);
        EXPECT_EQ(v.refusal, e.refusal) << move << " in\n" << Describe(board);
    }
}

// The reference must say the same about each listed pair, or the table or the reference
// is wrong; then the whole position is compared.
TEST_P(HandPicked, ReferenceAgreesWithTable) {
    const HandCase& c = GetParam();
    const Board board = FromDiagram(c.rows);
    const std::vector<FromTo> legal = reference::LegalMoves(board);
    const reference::KingExposure exposure(board);
    for (const Expect& e : c.expects) {
        const FromTo m{IndexOf(e.from), IndexOf(e.to)};
        EXPECT_EQ(std::binary_search(legal.begin(), legal.end(), m), e.allowed)
            << MoveText(board, m);
        if (!e.allowed) {
            EXPECT_EQ(ExpectedRefusal(board, exposure, m), e.refusal) << MoveText(board, m);
        }
    }
}

TEST_P(HandPicked, WholePositionMatchesReference) {
    const Board board = FromDiagram(GetParam().rows);
    EXPECT_EQ(Compare(board), "");
}

INSTANTIATE_TEST_SUITE_P(LegalMoves, HandPicked, testing::ValuesIn(HandCases()),
                         [](const testing::TestParamInfo<HandCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Move counts from the start position

// The position after `m`, turned round so that the other side is the local side to move.
// A pawn reaching row 0 becomes a queen.
Board PlayAndTurn(const Board& board, FromTo m) {
    Board after = board;
    PieceCode moving = board.at(SquareAt(m.from));
    if (KindOf(moving) == PieceKind::Pawn && SquareAt(m.to).y == 0)
        moving = Code(Side::Local, PieceKind::Queen);
    after.set(SquareAt(m.to), moving);
    after.set(SquareAt(m.from), kEmptyCode);

    Board turned;
    for (int d = 0; d < 64; ++d) {
        const Square s = SquareAt(d);
        turned.set(Square{7 - s.x, 7 - s.y}, SwapSide(after.at(s)));
    }
    return turned;
}

template <typename MoveList> long Perft(const Board& board, int depth, const MoveList& moves) {
    const std::vector<FromTo> list = moves(board);
    if (depth == 1)
        return static_cast<long>(list.size());
    long leaves = 0;
    for (FromTo m : list)
        leaves += Perft(PlayAndTurn(board, m), depth - 1, moves);
    return leaves;
}

std::vector<FromTo> MoveCheckMoves(const Board& board) {
    return AllowedMoves(AskAll(board));
}

// The well-known move-path counts of chess from the start position. Neither castling nor
// en passant can happen within the first four plies, so they hold for Quorin unchanged.
constexpr std::array<long, 4> kStartPerft = {20, 400, 8902, 197281};

TEST(LegalMoves, ReferenceCountsFromStartPosition) {
    const Board start = *ReadPosition(InitialPosition);
    for (int depth = 1; depth <= 4; ++depth)
        EXPECT_EQ(Perft(start, depth, reference::LegalMoves), kStartPerft[depth - 1])
            << "depth " << depth;
}

TEST(LegalMoves, MoveCheckCountsFromStartPosition) {
    const Board start = *ReadPosition(InitialPosition);
    for (int depth = 1; depth <= 3; ++depth)
        EXPECT_EQ(Perft(start, depth, MoveCheckMoves), kStartPerft[depth - 1]) << "depth " << depth;
}

// ---------------------------------------------------------------------------------------
// Random positions against the reference

TEST(LegalMoves, RandomPositionsMatchReference) {
    int mismatches = 0;
    int inCheck = 0;
    int doubleCheck = 0;
    int pinned = 0;
    int comparedPairs = 0;
    for (int i = 0; i < kRandomPositions; ++i) {
        const Board board = RandomPosition(0x51D0'0000u + static_cast<std::uint64_t>(i));
        const Square king = *board.find(Code(Side::Local, PieceKind::King));
        const int checkers = reference::AttackerCount(board, king, Side::Opponent);
        inCheck += checkers > 0;
        doubleCheck += checkers > 1;
        if (checkers == 0) {
            // A non-king move the pattern allows but the king's safety forbids: a pin.
            const auto legal = reference::LegalMoves(board);
            for (FromTo m : Minus(reference::PseudoLegalMoves(board), legal)) {
                if (KindOf(board.at(SquareAt(m.from))) != PieceKind::King) {
                    ++pinned;
                    break;
                }
            }
        }
        int localPieces = 0;
        for (int d = 0; d < 64; ++d)
            localPieces += IsLocal(board.at(SquareAt(d)));
        comparedPairs += localPieces * (64 - localPieces);

        const std::string report = Compare(board);
        if (!report.empty() && ++mismatches <= 10)
            ADD_FAILURE() << "seed index " << i << ": " << report;
    }
    EXPECT_EQ(mismatches, 0);

    // The positions must exercise what they are meant to: checks, double checks and pins.
    EXPECT_GT(inCheck, kRandomPositions / 5);
    EXPECT_GT(doubleCheck, kRandomPositions / 50);
    EXPECT_GT(pinned, kRandomPositions / 10);
    RecordProperty("in_check", inCheck);
    RecordProperty("double_check", doubleCheck);
    RecordProperty("pinned", pinned);
    RecordProperty("pairs", comparedPairs);
}

} // namespace
