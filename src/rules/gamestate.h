#pragma once

#include "board.h"
#include "position.h"

#include <string>
#include <string_view>

namespace quorin {

// PlayerSide values: the player who made move 1 of the game, and the one who received it.
inline constexpr std::string_view kFirstPlayer = "先手";
inline constexpr std::string_view kSecondPlayer = "後手";

// Everything one copy of the program knows about the game in progress. There is no move
// list: only the current position; the history lives in the game record file.
struct GameState {
    Board board;                                 // the cells as this copy sees them
    std::string PositionString{InitialPosition}; // the position the board is loaded from
    std::string PlayerSide;                      // kFirstPlayer, kSecondPlayer or empty
    int MoveNumber = 0;                          // number of the last move of the game
    bool MyTurn = true;                          // the local player may pick up a piece
    bool KingMoved = false;                      // the local king has moved
    bool LeftRookMoved = false;                  // the rook that started on (0, 7) moved
    bool RightRookMoved = false;                 // the rook that started on (7, 7) moved
    bool CastlingOff = false;                    // castling is no longer available
    bool CastlingRedrawDone = false;             // the one full redraw after it is done
    // The last move taken from the peer, to know it again when it is sent once more after
    // a lost link; number 0 when none was taken in this game.
    int LastReceivedNumber = 0;
    Board LastReceived;

    // Loads `board` from PositionString. A text that is not a valid position leaves the
    // board as it was and answers false.
    bool LoadPosition();

    // A new connection: castling is available again and the board is drawn anew after it.
    void ResetCastling();
};

} // namespace quorin
