#pragma once

#include "board.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorin {

// The start position as text: 64 piece codes in hexadecimal, row 0 first, each row from
// column 0. Codes 0..9 are written with one digit here and 10..12 with two.
// clang-format off
inline constexpr std::string_view InitialPosition = "7,8,9,0A,0B,9,8,7,6,6,6,6,6,6,6,6,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0C,0,0,0,0,0,0,0,0,1,2,3,4,5,3,2,1";
// clang-format on

// Reads a position text. It must be exactly 64 tokens separated by single commas, each a
// hexadecimal number of one or more digits (either case) with a value from 0 to 12, so
// "C", "0C" and "0c" all read as the empty square. Anything else is refused with
// std::nullopt: a text from the peer or from a file never puts a code outside the board
// model into a Board.
std::optional<Board> ReadPosition(std::string_view text);

// The board in natural order (row 0 to 7, column 0 to 7), sides unchanged: the form of
// the game record. Every token is two upper-case hexadecimal digits ("00" to "0C").
std::string WritePosition(const Board& board);

// The board as the peer sees it: cells from (7, 7) back to (0, 0), every piece with its
// side exchanged, so the receiver can load it unchanged. Same token form.
std::string WritePositionForPeer(const Board& board);

} // namespace quorin
