#pragma once

#include "legalmoves.h"

#include <string>
#include <string_view>

namespace quorin {

// A move as a screen reader says it: who moved, the piece, from and to, then a capture, a
// promotion and a check: "相手：ポーン e7 から e5", "自分：ナイト g1 から f3、ビショップを取る、
// チェック"; a castling "自分：キャスリング、キング e1 から g1". `before` is the board the
// move was made on, seen from the mover's side as `move` is, squares named for `colour`.
std::string MoveWords(std::string_view who, const Board& before, const PlayerMove& move,
                      Colour colour);

// The word for a piece's kind: "ポーン" ... "キング".
std::string_view KindWord(PieceKind kind);

} // namespace quorin
