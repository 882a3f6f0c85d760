#include "legalmoves.h"

#include "gamestate.h"
#include "movecheck.h"
#include "movement.h"

#include <algorithm>

namespace quorin {
namespace {

constexpr PieceCode kLocalQueen = 4;

} // namespace

std::string SquareName(Square s, Colour colour) {
    if (colour == Colour::White)
        return {char('a' + s.x), char('8' - s.y)};
    return {char('h' - s.x), char('1' + s.y)};
}

Board Turned(const Board& board) {
    Board turned;
    for (int d = 0; d < 64; ++d)
        turned.set(SquareAt(63 - d), SwapSide(board.at(SquareAt(d))));
    return turned;
}

std::vector<PlayerMove> LegalMoves(const Board& board, Colour colour) {
    std::vector<PlayerMove> moves;
    for (int s = 0; s < 64; ++s) {
        const Square from = SquareAt(s);
        const PieceCode piece = board.at(from);
        if (!IsLocal(piece))
            continue;
        for (int t = 0; t < 64; ++t) {
            const Square to = SquareAt(t);
            // The movement rule first: it is cheap and turns most squares away.
            if (IsLocal(board.at(to)) || !MovementAllowed(board, to, from, KindOf(piece)) ||
                !IsMoveAllowed(board, to, from, ImageNames[piece]).allowed)
                continue;
            PlayerMove move{from, to, std::nullopt, board};
            move.after.set(from, kEmptyCode);
            move.after.set(to, Promotes(ImageNames[piece], to) ? kLocalQueen : piece);
            moves.push_back(move);
        }
    }
    for (CastlingSide side : {CastlingSide::Right, CastlingSide::Left}) {
        GameState game;
        game.board = board;
        game.PlayerSide = colour == Colour::White ? kFirstPlayer : kSecondPlayer;
        if (!Castle(game, side).empty())
            continue;
        const int king = colour == Colour::White ? 4 : 3;
        const int step = side == CastlingSide::Right ? 2 : -2;
        moves.push_back({{king, 7}, {king + step, 7}, side, game.board});
    }
    return moves;
}

std::optional<PlayerMove> MoveTo(const std::vector<PlayerMove>& moves, const Board& after) {
    const auto found = std::find_if(moves.begin(), moves.end(),
                                    [&](const PlayerMove& m) { return m.after == after; });
    if (found == moves.end())
        return std::nullopt;
    return *found;
}

} // namespace quorin
