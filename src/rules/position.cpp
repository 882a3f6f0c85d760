#include "position.h"

namespace quorin {
namespace {

// Value of a hexadecimal token, or -1 when it is empty, holds another character or is
// above the last piece code. Leading zeros are allowed in any number.
int ReadToken(std::string_view token) {
    if (token.empty())
        return -1;
    int value = 0;
    for (char ch : token) {
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else if (ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else
            return -1;
        value = value * 16 + digit;
        if (value >= kPieceCodeCount)
            return -1;
    }
    return value;
}

void AppendToken(std::string& out, PieceCode code) {
    static constexpr char hex[] = "0123456789ABCDEF";
    if (!out.empty())
        out += ',';
    out += hex[(code >> 4) & 0xF];
    out += hex[code & 0xF];
}

} // namespace

std::optional<Board> ReadPosition(std::string_view text) {
    Board board;
    int index = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view token = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (index >= 64)
            return std::nullopt;
        const int code = ReadToken(token);
        if (code < 0)
            return std::nullopt;
        board.set(SquareAt(index), code);
        ++index;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (index != 64)
        return std::nullopt;
    return board;
}

std::string WritePosition(const Board& board) {
    std::string out;
    out.reserve(191);
    for (int d = 0; d < 64; ++d)
        AppendToken(out, board.at(SquareAt(d)));
    return out;
}

std::string WritePositionForPeer(const Board& board) {
    std::string out;
    out.reserve(191);
    for (int d = 63; d >= 0; --d)
        AppendToken(out, SwapSide(board.at(SquareAt(d))));
    return out;
}

} // namespace quorin
