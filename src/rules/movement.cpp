#include "movement.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace quorin {
namespace {

struct Step {
    int dx;
    int dy;
};

// Index i holds the displacement of step code i + 1.
constexpr std::array<Step, 17> kSteps = {{
    {-1, -1},
    {0, -1},
    {1, -1},
    {1, 0},
    {1, 1},
    {0, 1},
    {-1, 1},
    {-1, 0}, // 1..8
    {-1, -2},
    {1, -2},
    {1, 2},
    {-1, 2},
    {-2, -1},
    {-2, 1},
    {2, -1},
    {2, 1},  // 9..16
    {0, -2}, // 17
}};

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// Whether every square strictly between A and B, which lie on one line, is empty.
bool PathClear(const Board& board, Square A, Square B) {
    const int sx = Sign(B.x - A.x);
    const int sy = Sign(B.y - A.y);
    for (Square s{A.x + sx, A.y + sy}; s != B; s = Square{s.x + sx, s.y + sy}) {
        if (!board.isEmpty(s))
            return false;
    }
    return true;
}

bool StraightReach(const Board& board, Square A, Square B) {
    if (A == B || (A.x != B.x && A.y != B.y))
        return false;
    return PathClear(board, A, B);
}

bool DiagonalReach(const Board& board, Square A, Square B) {
    if (A == B || std::abs(B.x - A.x) != std::abs(B.y - A.y))
        return false;
    return PathClear(board, A, B);
}

} // namespace

int StepCode(Square T, Square S) {
    const int dx = T.x - S.x;
    const int dy = T.y - S.y;
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
        if (kSteps[i].dx == dx && kSteps[i].dy == dy)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int SlideCode(const Board& board, Square T, Square S) {
    const int dx = T.x - S.x;
    const int dy = T.y - S.y;
    int code = 0;
    if (dx == 0 && dy != 0)
        code = dy < 0 ? 1 : 3;
    else if (dy == 0 && dx != 0)
        code = dx > 0 ? 2 : 4;
    else if (dx == dy && dx != 0)
        code = dx < 0 ? 5 : 6;
    else if (dx == -dy && dx != 0)
        code = dx > 0 ? 7 : 8;
    if (code == 0 || std::max(std::abs(dx), std::abs(dy)) < 2)
        return 0;
    return PathClear(board, S, T) ? code : 0;
}

bool CanAttack(const Board& board, Square A, Square B, PieceKind kind) {
    if (A == B)
        return false;
    const int dx = B.x - A.x;
    const int dy = B.y - A.y;
    switch (kind) {
    case PieceKind::Pawn:
        return dy == 1 && std::abs(dx) == 1;
    case PieceKind::Knight:
        return (std::abs(dx) == 1 && std::abs(dy) == 2) || (std::abs(dx) == 2 && std::abs(dy) == 1);
    case PieceKind::King:
        return std::abs(dx) <= 1 && std::abs(dy) <= 1;
    case PieceKind::Bishop:
        return DiagonalReach(board, A, B);
    case PieceKind::Rook:
        return StraightReach(board, A, B);
    case PieceKind::Queen:
        return StraightReach(board, A, B) || DiagonalReach(board, A, B);
    case PieceKind::None:
        break;
    }
    return false;
}

bool MovementAllowed(const Board& board, Square T, Square S, PieceKind kind) {
    const int step = StepCode(T, S);
    switch (kind) {
    case PieceKind::Pawn: {
        const bool targetIsOpponent = IsOpponent(board.at(T));
        if (step == 2)
            return !targetIsOpponent;
        if (step == 1 || step == 3)
            return targetIsOpponent;
        if (step == 17)
            return S.y == 6 && board.isEmpty(Square{S.x, 5}) && board.isEmpty(T);
        return false;
    }
    case PieceKind::Knight:
        return step >= 9 && step <= 16;
    case PieceKind::Bishop: {
        if (step == 1 || step == 3 || step == 5 || step == 7)
            return true;
        const int slide = SlideCode(board, T, S);
        return slide >= 5 && slide <= 8;
    }
    case PieceKind::Rook: {
        if (step == 2 || step == 4 || step == 6 || step == 8)
            return true;
        const int slide = SlideCode(board, T, S);
        return slide >= 1 && slide <= 4;
    }
    case PieceKind::Queen:
        return (step >= 1 && step <= 8) || SlideCode(board, T, S) != 0;
    case PieceKind::King:
        return step >= 1 && step <= 8;
    case PieceKind::None:
        break;
    }
    return false;
}

} // namespace quorin
