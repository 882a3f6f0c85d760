#include "boardtable.h"

#include "boardrenderer.h"
#include "moveinput.h"
#include "rules/gamestate.h"
#include "rules/legalmoves.h"
#include "rules/movewords.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace quorin {

QString CellName(const Board& board, Square s, bool localLight) {
    const QString square =
        QString::fromStdString(SquareName(s, localLight ? Colour::White : Colour::Black));
    const PieceCode piece = board.at(s);
    if (piece == kEmptyCode)
        return square + QStringLiteral(" 空き");
    const bool light = IsLocal(piece) == localLight;
    return square + (light ? QStringLiteral(" 白の") : QStringLiteral(" 黒の")) +
           QString::fromUtf8(KindWord(KindOf(piece)).data());
}

BoardTable::BoardTable(const GameState& game, const BoardRenderer& renderer, MoveInput& input,
                       QWidget* parent)
    : QWidget(parent), game_(game), renderer_(renderer), input_(input) {
    setObjectName(QStringLiteral("BoardTable"));
    setAccessibleName(QStringLiteral("盤"));
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const BoardGeometry& g = renderer_.geometry();
    setGeometry(BoardGeometry::kLeft, BoardGeometry::kTop, g.BoardWidth + 1, g.BoardHeight + 1);
}

bool BoardTable::IsSelected(int index) const {
    return input_.Selected() == SquareAt(index);
}

QString BoardTable::CellName(int index) const {
    return quorin::CellName(game_.board, SquareAt(index),
                            renderer_.pictureSet() == BoardRenderer::PictureSet::First);
}

void BoardTable::Refresh() {
    // Asked after every change of the picture, a clock's tick too: only a new position or
    // new pictures name the cells anew.
    const bool light = renderer_.pictureSet() == BoardRenderer::PictureSet::First;
    if (named_ && game_.board == namedBoard_ && light == namedLight_)
        return;
    named_ = true;
    namedBoard_ = game_.board;
    namedLight_ = light;
    for (int i = 0; i < 64; ++i) {
        QString name = CellName(i);
        if (name == names_[i])
            continue;
        names_[i] = std::move(name);
        if (QAccessible::isActive())
            if (QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this))
                if (QAccessibleInterface* cell = table->child(i)) {
                    QAccessibleEvent changed(cell, QAccessible::NameChanged);
                    QAccessible::updateAccessibility(&changed);
                }
    }
}

void BoardTable::MousePressed() {
    keyboardUsed_ = false;
    if (cursorShown_) {
        cursorShown_ = false;
        update(CursorRect(cursor_));
    }
    setFocus(Qt::MouseFocusReason);
}

QRect BoardTable::CursorRect(Square s) const {
    return renderer_.geometry().pieceRect(s).translated(-pos());
}

void BoardTable::MoveCursor(Square to) {
    if (!keyboardUsed_) {
        // The keyboard's first use on the board: the cursor starts on the own king.
        for (int d = 0; d < 64; ++d)
            if (game_.board.at(SquareAt(d)) == CodeOfName("ki1"))
                to = SquareAt(d);
        keyboardUsed_ = true;
    }
    cursorShown_ = true;
    update(CursorRect(cursor_));
    cursor_ = to;
    update(CursorRect(cursor_));
    // After the widget's own focus event has been told, or a screen reader stays on the table.
    QMetaObject::invokeMethod(this, &BoardTable::TellFocus, Qt::QueuedConnection);
}

void BoardTable::TellFocus() {
    if (!hasFocus() || !cursorShown_ || !QAccessible::isActive())
        return;
    if (QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this))
        if (QAccessibleInterface* cell = table->child(IndexOf(cursor_))) {
            QAccessibleEvent focus(cell, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
}

void BoardTable::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // Reached with the keyboard, or back after a box: the cursor shows where it was.
    if (keyboardUsed_ || event->reason() == Qt::TabFocusReason ||
        event->reason() == Qt::BacktabFocusReason)
        MoveCursor(cursor_);
}

void BoardTable::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (cursorShown_) {
        cursorShown_ = false;
        update(CursorRect(cursor_));
    }
}

void BoardTable::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const Square at = cursor_;
    switch (event->key()) {
    case Qt::Key_Up:
        MoveCursor({at.x, std::max(at.y - 1, 0)});
        break;
    case Qt::Key_Down:
        MoveCursor({at.x, std::min(at.y + 1, 7)});
        break;
    case Qt::Key_Left:
        MoveCursor({std::max(at.x - 1, 0), at.y});
        break;
    case Qt::Key_Right:
        MoveCursor({std::min(at.x + 1, 7), at.y});
        break;
    case Qt::Key_Home:
        MoveCursor({0, at.y});
        break;
    case Qt::Key_End:
        MoveCursor({7, at.y});
        break;
    case Qt::Key_PageUp:
        MoveCursor({at.x, 0});
        break;
    case Qt::Key_PageDown:
        MoveCursor({at.x, 7});
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!keyboardUsed_) {
            MoveCursor(at);
            break;
        }
        {
            // Exactly a click on the square: the mouse's own steps, pressed and released
            // on the square's middle.
            const QPoint middle = renderer_.geometry().pieceRect(cursor_).center();
            input_.buttonDown(middle);
            input_.buttonUp(middle);
        }
        break;
    case Qt::Key_Escape:
        input_.ClearSelection();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void BoardTable::paintEvent(QPaintEvent*) {
    if (!cursorShown_)
        return;
    // Inside the square's picture, clear of the two-pixel frame of a chosen piece.
    QPainter painter(this);
    QPen pen(QColor(kCursorColour), 2, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(CursorRect(cursor_).adjusted(kCursorInset, kCursorInset, -kCursorInset - 1,
                                                  -kCursorInset - 1));
}

} // namespace quorin
