#include "moveinput.h"

#include "boardrenderer.h"
#include "boardwidget.h"
#include "rules/castling.h"
#include "rules/gamestate.h"
#include "rules/movecheck.h"

#include <utility>

namespace quorin {

Square SquareFromText(std::string_view text) {
    if (text.empty())
        return {0, 0};
    return {text.front() - '0', text.back() - '0'};
}

MoveInput::MoveInput(GameState& game, BoardRenderer& renderer, BoardWidget& widget,
                     MoveInputHost& host)
    : game_(game), renderer_(renderer), widget_(widget), host_(host) {}

std::string MoveInput::PointToSquare(QPoint point) const {
    const BoardGeometry& g = renderer_.geometry();
    const int x = point.x() - BoardGeometry::kLeft;
    const int y = point.y() - BoardGeometry::kTop;
    if (x < 0 || x >= g.BoardWidth || y < 0 || y >= g.BoardHeight)
        return {};
    return {char('0' + x / g.CellWidth), char('0' + y / g.CellHeight)};
}

std::string MoveInput::PieceAtPoint(QPoint point) const {
    const std::string square = PointToSquare(point);
    if (square.empty())
        return {};
    return std::string(game_.board.name(SquareFromText(square)));
}

bool MoveInput::MayMove() const {
    return game_.MyTurn && !host_.awaitingAck() && BoardReady;
}

void MoveInput::buttonDown(QPoint point) {
    CallOffDrag(); // a drag whose release went unseen
    target_.reset();
    const std::string piece = PieceAtPoint(point);
    if (piece.empty()) {
        ClearSelection(); // a click off the board lets a chosen piece go
        return;
    }
    const Square square = SquareFromText(PointToSquare(point));
    if (selected_ && !IsLocal(game_.board.at(square))) {
        // The second click of a move: made when the button goes up on this square, where
        // the drop re-checks the turn as it does for a drag.
        target_ = square;
        return;
    }
    const bool onChosen = selected_ == square;
    ClearSelection(); // the press chooses anew, or lets go, or drags
    // A refused press changes nothing.
    if (!MayMove())
        return;
    mousePoint_ = point;
    leftSquare_ = false;
    pressedChosen_ = onChosen;
    drag_.PieceName = piece;
    drag_.FromSquare = square;
    const PieceCode picked = game_.board.at(drag_.FromSquare);
    if (picked != kEmptyCode) {
        drag_.Dragging = true;
        if (drag_.PieceName.find('2') == std::string::npos) {
            // Lifted from the back buffer only: the window shows the piece until it moves.
            drag_.PiecePixel = renderer_.geometry().piecePosition(drag_.FromSquare);
            renderer_.LiftPiece(drag_.FromSquare);
        }
    }
    if (IsOpponent(picked) || picked == kEmptyCode)
        drag_.Dragging = false;
}

void MoveInput::mouseMove(QPoint point, bool leftHeld) {
    if (!drag_.Dragging || drag_.PieceName.find('2') != std::string::npos)
        return;
    if (!leftHeld) {
        CallOffDrag(); // the release happened where this window could not see it
        return;
    }
    const std::string over = PointToSquare(point);
    if (over.empty() || SquareFromText(over) != drag_.FromSquare)
        leftSquare_ = true;
    mousePoint_ = point;
    renderer_.DrawDraggedPiece(drag_.PieceName, mousePoint_);
    widget_.ShowChanges();
}

void MoveInput::buttonUp(QPoint point) {
    if (const std::optional<Square> target = std::exchange(target_, std::nullopt)) {
        // Released where it was pressed: the click on a target. Elsewhere: nothing.
        const std::string released = PointToSquare(point);
        if (!released.empty() && SquareFromText(released) == *target)
            ClickMove(*target);
        return;
    }
    if (drag_.Dragging) {
        // The drag is over from here on: a box the move opens finds no drag to call off.
        drag_.Dragging = false;
        Drop(PointToSquare(mousePoint_));
        renderer_.EndDrag();
        // Pressed and released without leaving the square: a click, which chooses the
        // piece, or lets it go when it was the chosen one.
        if (!leftSquare_ && !pressedChosen_ && MayMove() &&
            game_.board.name(drag_.FromSquare) == drag_.PieceName)
            Select(drag_.FromSquare);
        return;
    }
    renderer_.EndDrag();
}

void MoveInput::Drop(const std::string& target) {
    drag_.ToSquare = SquareFromText(target);
    const Board& board = game_.board;
    if (target.empty() || IsLocal(board.at(drag_.ToSquare)) ||
        board.at(drag_.ToSquare) == board.at(drag_.FromSquare) || !MayMove()) {
        renderer_.ReturnPiece(drag_.FromSquare, drag_.PieceName);
    } else if (const MoveVerdict verdict =
                   IsMoveAllowed(board, drag_.ToSquare, drag_.FromSquare, drag_.PieceName);
               !verdict.allowed) {
        renderer_.ReturnPiece(drag_.FromSquare, drag_.PieceName);
        if (!verdict.refusal.empty())
            host_.showMessage(
                QString::fromUtf8(verdict.refusal.data(), qsizetype(verdict.refusal.size())));
    } else {
        MakeMove();
    }
    widget_.ShowChanges();
}

void MoveInput::ClickMove(Square target) {
    if (!selected_)
        return; // let go between press and release
    const Square from = *selected_;
    ClearSelection();
    // As if the piece had been picked up on its square and dropped on the target.
    drag_.PieceName = std::string(game_.board.name(from));
    drag_.FromSquare = from;
    drag_.PiecePixel = renderer_.geometry().piecePosition(from);
    renderer_.LiftPiece(from);
    Drop({char('0' + target.x), char('0' + target.y)});
    renderer_.EndDrag();
}

void MoveInput::Select(Square square) {
    selected_ = square;
    renderer_.DrawMark(square);
    widget_.ShowChanges();
}

void MoveInput::ClearSelection() {
    target_.reset();
    if (!selected_)
        return;
    selected_.reset();
    renderer_.RemoveMark();
    widget_.ShowChanges();
}

void MoveInput::CallOffDrag() {
    if (!drag_.Dragging)
        return;
    drag_.Dragging = false;
    renderer_.ReturnPiece(drag_.FromSquare, drag_.PieceName);
    renderer_.EndDrag();
    widget_.ShowChanges();
}

void MoveInput::CancelDrag() {
    CallOffDrag();
    ClearSelection();
}

void MoveInput::BoardRedrawn() {
    ClearSelection();
    if (!drag_.Dragging)
        return;
    if (game_.board.name(drag_.FromSquare) != drag_.PieceName) {
        drag_.Dragging = false;
        renderer_.EndDrag();
        return;
    }
    renderer_.LiftPiece(drag_.FromSquare);
}

void MoveInput::MakeMove() {
    const Square from = drag_.FromSquare;
    const Square to = drag_.ToSquare;
    Board& board = game_.board;
    host_.beginMove();
    host_.updateCastlingAvailability(drag_.PieceName, from);
    const PieceCode captured = board.at(to);
    if (Promotes(drag_.PieceName, to)) {
        board.set(to, CodeOfName("qu1"));
        host_.showMessage(QStringLiteral("プロモ－ション"));
        host_.notifyPromotion();
    } else {
        board.set(to, board.at(from));
    }
    board.set(from, kEmptyCode);
    renderer_.DrawMove(from, to, board.name(to));
    widget_.ShowChanges();
    host_.playMoveSound();
    host_.sendMove();
    if (captured == CodeOfName("ki2"))
        host_.announceWin();
}

} // namespace quorin
