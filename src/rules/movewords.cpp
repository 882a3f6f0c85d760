#include "movewords.h"

#include "movecheck.h"

#include <array>

namespace quorin {

std::string_view KindWord(PieceKind kind) {
    static constexpr std::array<std::string_view, 6> kWords = {"ポーン",     "ルーク",   "ナイト",
                                                               "ビショップ", "クイーン", "キング"};
    return kind == PieceKind::None ? std::string_view() : kWords[static_cast<std::size_t>(kind)];
}

std::string MoveWords(std::string_view who, const Board& before, const PlayerMove& move,
                      Colour colour) {
    std::string words = std::string(who) + "：";
    if (move.castling)
        words += "キャスリング、";
    words += std::string(KindWord(KindOf(before.at(move.from)))) + " " +
             SquareName(move.from, colour) + " から " + SquareName(move.to, colour);
    if (!move.castling && before.at(move.to) != kEmptyCode)
        words += "、" + std::string(KindWord(KindOf(before.at(move.to)))) + "を取る";
    if (KindOf(before.at(move.from)) == PieceKind::Pawn && move.to.y == 0)
        words += "、クイーンになる";
    if (IsKingInCheck(Turned(move.after)))
        words += "、チェック";
    return words;
}

} // namespace quorin
