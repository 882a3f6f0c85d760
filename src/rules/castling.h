#pragma once

#include "gamestate.h"

#include <string_view>

namespace quorin {

inline constexpr std::string_view kNoKingToCastle = "キングが、キャスリングできる位置にいません。";
inline constexpr std::string_view kPiecesBetween = "間に駒があるので、キャスリング不可です。";
inline constexpr std::string_view kNoRookToCastle = "ルークが、キャスリングできる位置にいません。";

// Towards column 7 or towards column 0 of the back rank.
enum class CastlingSide { Right, Left };

// Castles on the game's board: king and rook move in one step, and castling is off for
// the rest of the connection. The squares depend on the player's side: the second
// player sees the board turned, with the king on column 3. Whether the king is in check
// or crosses an attacked square is not looked at. Refused, with the text to show, when
// the king is not on its starting square, when a piece stands between king and rook, or
// when the own rook is not on its corner; then nothing changes. Answers the refusal, or
// an empty text when castled.
std::string_view Castle(GameState& game, CastlingSide side);

// Which castling menu entries an allowed local move turns off.
struct CastlingMenuChange {
    bool castling = false; // the whole castling menu
    bool left = false;
    bool right = false;
};

// Notes a local move of `piece` from `from` in the castling flags, before the piece is
// placed: a king move ends castling; a rook leaving its corner ends castling on its side,
// and both rooks gone end it altogether. Once the king has moved nothing changes.
CastlingMenuChange UpdateCastlingAvailability(GameState& game, std::string_view piece, Square from);

// Whether a local move of `piece` to `to` promotes: a pawn reaching row 0 becomes a queen.
bool Promotes(std::string_view piece, Square to);

} // namespace quorin
