#pragma once

#include <array>
#include <string_view>

namespace quorin {

// Piece codes are relative to the viewer: 0..5 are always the local player's pieces,
// 6..11 the opponent's, 12 the empty square. The same code indexes ImageNames, whose
// names are also the picture file names ("po1.bmp" ...).
using PieceCode = int;

inline constexpr PieceCode kEmptyCode = 12;
inline constexpr int kPieceCodeCount = 13;

inline constexpr std::array<std::string_view, kPieceCodeCount> ImageNames = {
    "po1", "ru1", "ni1", "pi1", "qu1", "ki1", "po2", "ru2", "ni2", "pi2", "qu2", "ki2", "Dummy"};

inline constexpr std::string_view kEmptyName = "Dummy";

// The kind of a piece, named in a piece name by its first two letters.
enum class PieceKind { Pawn, Rook, Knight, Bishop, Queen, King, None };

constexpr bool IsLocal(PieceCode c) {
    return c >= 0 && c <= 5;
}
constexpr bool IsOpponent(PieceCode c) {
    return c >= 6 && c <= 11;
}

// Kind of a code: code modulo 6 in the order pawn, rook, knight, bishop, queen, king.
constexpr PieceKind KindOf(PieceCode c) {
    return (c >= 0 && c <= 11) ? static_cast<PieceKind>(c % 6) : PieceKind::None;
}

// The same piece as the other side sees it: 0..5 <-> 6..11; the empty square stays.
constexpr PieceCode SwapSide(PieceCode c) {
    if (IsLocal(c))
        return c + 6;
    if (IsOpponent(c))
        return c - 6;
    return c;
}

// Kind named by the first two letters of a piece name ("po", "ru", "ni", "pi", "qu", "ki").
PieceKind KindOfName(std::string_view name);

// Code of a name: the first equal entry of ImageNames, or -1 when there is none.
PieceCode CodeOfName(std::string_view name);

} // namespace quorin
