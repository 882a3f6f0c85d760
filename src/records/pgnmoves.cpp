#include "pgnmoves.h"

#include "rules/gamestate.h"
#include "rules/movecheck.h"
#include "rules/movement.h"

#include <algorithm>

namespace quorin {
std::string San(const Board& board, Colour colour, const PlayerMove& move,
                const std::vector<PlayerMove>& moves) {
    std::string san;
    if (move.castling) {
        // The h-file lies on the right of White's board and on the left of Black's.
        const bool kingside = (*move.castling == CastlingSide::Right) == (colour == Colour::White);
        san = kingside ? "O-O" : "O-O-O";
    } else {
        const PieceKind kind = KindOf(board.at(move.from));
        const bool capture = IsOpponent(board.at(move.to));
        const std::string from = SquareName(move.from, colour);
        if (kind == PieceKind::Pawn) {
            if (capture)
                san += from[0];
        } else {
            static constexpr char letters[] = "PRNBQK";
            san += letters[static_cast<int>(kind)];
            // Other pieces of the same kind that could go to the same square.
            bool rival = false, sameFile = false, sameRank = false;
            for (const PlayerMove& other : moves) {
                if (other.castling || other.to != move.to || other.from == move.from ||
                    KindOf(board.at(other.from)) != kind)
                    continue;
                rival = true;
                sameFile = sameFile || other.from.x == move.from.x;
                sameRank = sameRank || other.from.y == move.from.y;
            }
            if (rival && (!sameFile || sameRank))
                san += from[0];
            if (rival && sameFile)
                san += from[1];
        }
        if (capture)
            san += 'x';
        san += SquareName(move.to, colour);
        if (kind == PieceKind::Pawn && move.to.y == 0)
            san += "=Q";
    }
    const Board opponent = Turned(move.after);
    if (IsKingInCheck(opponent))
        san += LegalMoves(opponent, Opponent(colour)).empty() ? '#' : '+';
    return san;
}

} // namespace quorin
