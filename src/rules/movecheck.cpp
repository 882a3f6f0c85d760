#include "movecheck.h"

#include "movement.h"

namespace quorin {
namespace {

constexpr PieceCode kLocalKing = 5;

// Whether any opponent piece on `board` reaches `target`, scanning rows 0..7 and within
// a row columns 0..7, stopping at the first that does.
bool AttackedByOpponent(const Board& board, Square target) {
    for (int d = 0; d < 64; ++d) {
        const Square from = SquareAt(d);
        const PieceCode code = board.at(from);
        if (IsOpponent(code) && CanAttack(board, from, target, KindOf(code)))
            return true;
    }
    return false;
}

} // namespace

MoveVerdict IsMoveAllowed(const Board& board, Square T, Square S, std::string_view piece) {
    const PieceKind kind = KindOfName(piece);
    if (kind == PieceKind::None)
        return {};
    const bool geometric = MovementAllowed(board, T, S, kind);
    if (kind == PieceKind::King) {
        if (KingTargetAttacked(board, T, S))
            return {false, kKingCannotGoThere};
    } else if (MoveLeavesKingAttacked(board, T, S)) {
        return {false, kMoveLeavesCheck};
    }
    return {geometric, {}};
}

bool MoveLeavesKingAttacked(const Board& board, Square T, Square S) {
    Board trial = board;
    const PieceCode moving = trial.at(S);
    trial.set(S, kEmptyCode);
    trial.set(T, moving);
    return IsKingInCheck(trial);
}

bool KingTargetAttacked(const Board& board, Square T, Square S) {
    Board trial = board;
    trial.set(S, kEmptyCode);
    return AttackedByOpponent(trial, T);
}

bool IsKingInCheck(const Board& board) {
    const auto king = board.find(kLocalKing);
    return king && AttackedByOpponent(board, *king);
}

} // namespace quorin
