#pragma once

#include "boardmouse.h"
#include "rules/square.h"

#include <QPoint>
#include <QString>

#include <optional>
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
// Or by two clicks: a press and release on an own piece that stays on its square chooses
// that piece, and its square is framed. A click on a target square then makes the move a
// drop there makes, through the same steps. A click on another own piece chooses that one
// instead; a click on the chosen piece or off the board lets it go. A press on the chosen
// piece that leaves its square is an ordinary drag.
//
// A drag whose release cannot come (a box opened over the board, the window was blocked,
// the button went up unseen) is called off: the piece goes back and nothing is moved. A
// chosen piece is let go then too, and when the turn passes or the board is drawn anew.
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

    // The square of the piece chosen by a click, waiting for the click on its target.
    std::optional<Square> Selected() const { return selected_; }

    // Calls off a drag in progress (the piece is put back on its square) and lets a chosen
    // piece go.
    void CancelDrag();
    // Lets a chosen piece go: the mark leaves its square.
    void ClearSelection();
    // The board picture was drawn anew from the position (a move arrived): a chosen piece
    // is let go; a drag in progress lifts its piece again and saves the new picture, or
    // ends when its piece is no longer on its square.
    void BoardRedrawn();

private:
    // Whether the player may move now: on turn, no acknowledgement awaited, board set up.
    bool MayMove() const;
    void CallOffDrag();
    // The end of a drag, or of a move by clicks: the lifted piece is put on `target` (a
    // square text, empty off the board) if that is a move, else back on its square.
    void Drop(const std::string& target);
    // The second click: the chosen piece is lifted and dropped on `target`.
    void ClickMove(Square target);
    void Select(Square square);
    void MakeMove();

    GameState& game_;
    BoardRenderer& renderer_;
    BoardWidget& widget_;
    MoveInputHost& host_;
    DragState drag_;
    QPoint mousePoint_;
    bool leftSquare_ = false;    // the drag's mouse has been off the square of its press
    bool pressedChosen_ = false; // the drag began on the chosen piece
    std::optional<Square> selected_;
    std::optional<Square> target_; // pressed with a piece chosen; the move waits for the release
};

// A square read back from its text: the values of the first and the last character; the
// empty text reads as (0, 0).
Square SquareFromText(std::string_view text);

} // namespace quorin
