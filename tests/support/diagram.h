#pragma once

#include "rules/board.h"

#include <string_view>

namespace quorin::test {

// A board drawn as eight rows of eight characters, row 0 first: upper case for the local
// player's pieces (P R N B Q K), lower case for the opponent's, '.' for an empty cell.
inline Board Diagram(std::string_view rows) {
    constexpr std::string_view letters = "PRNBQKprnbqk";
    Board board;
    int d = 0;
    for (char ch : rows) {
        if (ch == ' ' || ch == '\n')
            continue;
        const auto code = letters.find(ch);
        board.set(SquareAt(d), code == std::string_view::npos ? kEmptyCode : PieceCode(code));
        ++d;
    }
    return board;
}

} // namespace quorin::test
