#pragma once

#include "board.h"

namespace quorin {

// Step code of the displacement from S to T (target first, source second):
//  1..8   one step: 1 up-left, 2 up, 3 up-right, 4 right, 5 down-right, 6 down,
//         7 down-left, 8 left (odd codes diagonal, even codes orthogonal)
//  9..16  the knight jumps
//  17     two steps straight up (the pawn's double step)
//  0      any other displacement, T equal to S included.
// Only the coordinates are looked at, never the board.
int StepCode(Square T, Square S);

// Slide code of a move of two or more squares along a line whose every square strictly
// between S and T is empty: 1 up, 2 right, 3 down, 4 left (straight), 5 up-left,
// 6 down-right, 7 up-right, 8 down-left (diagonal). 0 for a one-square move, a move off
// any line, or a blocked path. What stands on T is not looked at.
int SlideCode(const Board& board, Square T, Square S);

// Whether a piece of `kind` standing on A reaches B by its capture pattern on `board`.
// Used with the opponent's pieces as attackers, so the pawn attacks downwards (one row
// further down, one column to either side). False when A equals B.
bool CanAttack(const Board& board, Square A, Square B, PieceKind kind);

// The movement rule of `kind` for a local piece moving from S to T, where T is empty or
// holds an opponent piece. Only the geometry: whether the own king is left attacked is
// the move check's business (movecheck.h).
bool MovementAllowed(const Board& board, Square T, Square S, PieceKind kind);

} // namespace quorin
