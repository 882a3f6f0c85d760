#pragma once

#include "boardmouse.h"
#include "rules/square.h"

#include <QPoint>
#include <QString>

#include <string>
#include <string_view>

namespace quorin {

class BoardRenderer;
class BoardWidget;
struct GameState;

// What a move made with the mouse needs from the rest of the program.
class MoveInputHost {
public:
    virtual ~MoveInputHost() = default;
    virtual bool awaitingAck() const = 0;
    // A move is under way: wait for its acknowledgement, no chat meanwhile.
    virtual void beginMove() = 0;
    virtual void updateCastlingAvailability(std::string_view piece, Square from) = 0;
    // A pawn became a queen: tell the peer, when there is one.
    virtual void notifyPromotion() = 0;
    virtual void playMoveSound() = 0;
    virtual void sendMove() = 0;
    // The peer's king was taken: the game is won.
    virtual void announceWin() = 0;
    virtual void showMessage(const QString& text) = 0;
};

// Moving a piece by dragging it: press the left button on an own piece, move the mouse
// (a half-transparent copy follows it), release on the target square. A piece can be
// picked up only on the player's turn, with no acknowledgement outstanding, once the
// board is ready, and the same holds again when it is dropped. A drop off the board, on
// an own piece or back on the source square is no move; a move the rules refuse puts the
// piece back. An allowed move is made on the board, drawn, sounded and sent.
//
// A drag whose release cannot come (a box opened over the board, the window was blocked,
// the button went up unseen) is called off: the piece goes back and nothing is moved.
class MoveInput : public BoardMouse {
public:
    MoveInput(GameState& game, BoardRenderer& renderer, BoardWidget& widget, MoveInputHost& host);

    // The drag in progress.
    struct DragState {
        bool Dragging = false;
        std::string PieceName; // what stood under the press; empty off the board
        Square FromSquare;
        Square ToSquare;
        QPoint PiecePixel; // top-left of the lifted piece's picture on its square
    };

    const DragState& drag() const { return drag_; }
    // The board has been set up and takes input.
    bool BoardReady = false;

    // The square under a client point as its column and row digits ("34" is column 3,
    // row 4), or the empty text off the board. The right and bottom border lines are off.
    std::string PointToSquare(QPoint point) const;
    // The name of the piece under a client point, or the empty text off the board.
    std::string PieceAtPoint(QPoint point) const;

    void buttonDown(QPoint point) override;
    void mouseMove(QPoint point, bool leftHeld) override;
    void buttonUp(QPoint point) override;

    // Calls off a drag in progress: the piece is put back on its square.
    void CancelDrag();
    // The board picture was drawn anew from the position (a move arrived): a drag in
    // progress lifts its piece again and saves the new picture, or ends when its piece is
    // no longer on its square.
    void BoardRedrawn();

private:
    // Whether the player may move now: on turn, no acknowledgement awaited, board set up.
    bool MayMove() const;
    void MakeMove();

    GameState& game_;
    BoardRenderer& renderer_;
    BoardWidget& widget_;
    MoveInputHost& host_;
    DragState drag_;
    QPoint mousePoint_;
};

// A square read back from its text: the values of the first and the last character; the
// empty text reads as (0, 0).
Square SquareFromText(std::string_view text);

} // namespace quorin
