#pragma once

#include "rules/board.h"
#include "rules/square.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>

namespace quorin {

class BoardRenderer;
class MoveInput;
struct GameState;

// The board for the keyboard and for screen readers: a widget over the board's squares
// that paints nothing of the board and lets the mouse through. It takes the keyboard focus
// (Tab, or a click on the board) and moves a cursor over the squares as the player sees
// them: the arrow keys square by square, Home and End to the row's ends, Page Up and Page
// Down to the column's ends; Space or Enter acts as a click on the cursor's square, Esc
// lets a chosen piece go. The cursor, a dashed frame inside the square, shows only once
// the keyboard is used on the board, while the board has the focus, and goes at the next
// mouse press; it is painted over
// the back buffer, never into it. For screen readers it is a table of 64 cells named by
// square and piece (see CellName), their states and names kept up to date.
class BoardTable : public QWidget {
    Q_OBJECT

public:
    static constexpr QRgb kCursorColour = qRgb(230, 110, 0);
    static constexpr int kCursorInset = 5;

    BoardTable(const GameState& game, const BoardRenderer& renderer, MoveInput& input,
               QWidget* parent);

    // The name of cell `index` (row * 8 + column, as the player sees the board).
    QString CellName(int index) const;
    bool CursorShown() const { return cursorShown_; }
    Square Cursor() const { return cursor_; }
    bool IsSelected(int index) const;

    // The board may have changed: the cells whose piece changed are told to screen readers.
    void Refresh();
    // A mouse press on the board: the cursor goes, the board takes the focus.
    void MousePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void MoveCursor(Square to);
    QRect CursorRect(Square s) const;
    void TellFocus();

    const GameState& game_;
    const BoardRenderer& renderer_;
    MoveInput& input_;
    bool cursorShown_ = false;
    bool keyboardUsed_ = false; // since the last mouse press: the cursor shows with the focus
    Square cursor_{4, 7};
    std::array<QString, 64> names_;
    bool named_ = false; // the names are those of namedBoard_ as drawn with namedLight_
    Board namedBoard_;
    bool namedLight_ = true;
};

// The name of a square and what stands on it, as a screen reader says it: "e2 白のポーン",
// "e4 空き". Squares are named from the side of the player whose pieces are drawn light,
// and pieces by the colour they are drawn in: the local player's are light when
// `localLight`.
QString CellName(const Board& board, Square s, bool localLight);

} // namespace quorin
