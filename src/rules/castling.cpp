#include "castling.h"

namespace quorin {
namespace {

constexpr PieceCode kLocalRook = 1;
constexpr PieceCode kLocalKing = 5;

struct CastlingSquares {
    int kingFrom, kingTo, rookFrom, rookTo;
};

CastlingSquares SquaresFor(const std::string& playerSide, CastlingSide side) {
    const bool second = playerSide == kSecondPlayer;
    if (side == CastlingSide::Right)
        return second ? CastlingSquares{3, 5, 7, 4} : CastlingSquares{4, 6, 7, 5};
    return second ? CastlingSquares{3, 1, 0, 2} : CastlingSquares{4, 2, 0, 3};
}

} // namespace

std::string_view Castle(GameState& game, CastlingSide side) {
    Board& board = game.board;
    const CastlingSquares squares = SquaresFor(game.PlayerSide, side);

    int king = -1;
    for (int x = 0; x < 8 && king < 0; ++x) {
        if (board.at(x, 7) == kLocalKing)
            king = x;
    }
    // The king must stand where castling starts, or the move would leave a second king.
    if (king != squares.kingFrom)
        return kNoKingToCastle;

    const int step = side == CastlingSide::Right ? 1 : -1;
    const int last = side == CastlingSide::Right ? 6 : 1;
    for (int x = king + step; x != last + step; x += step) {
        if (!board.isEmpty({x, 7}))
            return kPiecesBetween;
    }
    // A rook that was taken on its corner does not come back.
    if (board.at(squares.rookFrom, 7) != kLocalRook)
        return kNoRookToCastle;

    board.set({squares.kingFrom, 7}, kEmptyCode);
    board.set({squares.rookFrom, 7}, kEmptyCode);
    board.set({squares.kingTo, 7}, kLocalKing);
    board.set({squares.rookTo, 7}, kLocalRook);
    game.CastlingOff = true;
    return {};
}

CastlingMenuChange UpdateCastlingAvailability(GameState& game, std::string_view piece,
                                              Square from) {
    CastlingMenuChange change;
    if (piece == "ki1" && !game.KingMoved) {
        game.KingMoved = true;
        game.CastlingOff = true;
        change.castling = true;
    }
    if (piece == "ru1" && !game.KingMoved) {
        if (!game.LeftRookMoved && from == Square{0, 7}) {
            game.LeftRookMoved = true;
            change.left = true;
        }
        if (!game.RightRookMoved && from == Square{7, 7}) {
            game.RightRookMoved = true;
            change.right = true;
        }
        if (game.LeftRookMoved && game.RightRookMoved) {
            game.CastlingOff = true;
            change.castling = true;
        }
    }
    return change;
}

bool Promotes(std::string_view piece, Square to) {
    return piece == "po1" && to.y == 0;
}

} // namespace quorin
