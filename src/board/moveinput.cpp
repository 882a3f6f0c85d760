#include "moveinput.h"

#include "boardrenderer.h"
#include "boardwidget.h"
#include "rules/castling.h"
#include "rules/gamestate.h"
#include "rules/movecheck.h"

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
    CancelDrag(); // a drag whose release went unseen
    const std::string piece = PieceAtPoint(point);
    // A refused press changes nothing.
    if (piece.empty() || !MayMove())
        return;
    mousePoint_ = point;
    drag_.PieceName = piece;
    drag_.FromSquare = SquareFromText(PointToSquare(mousePoint_));
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
        CancelDrag(); // the release happened where this window could not see it
        return;
    }
    mousePoint_ = point;
    renderer_.DrawDraggedPiece(drag_.PieceName, mousePoint_);
    widget_.ShowChanges();
}

void MoveInput::buttonUp(QPoint) {
    if (drag_.Dragging) {
        // The drag is over from here on: a box the move opens finds no drag to call off.
        drag_.Dragging = false;
        const std::string target = PointToSquare(mousePoint_);
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
    renderer_.EndDrag();
}

void MoveInput::CancelDrag() {
    if (!drag_.Dragging)
        return;
    drag_.Dragging = false;
    renderer_.ReturnPiece(drag_.FromSquare, drag_.PieceName);
    renderer_.EndDrag();
    widget_.ShowChanges();
}

void MoveInput::BoardRedrawn() {
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
