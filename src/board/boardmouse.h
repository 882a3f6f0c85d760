#pragma once

#include <QPoint>

namespace quorin {

// Receives the board window's mouse: the left button going down and up, and every move
// of the mouse over the window, in client pixels, with whether the left button is held.
class BoardMouse {
public:
    virtual ~BoardMouse() = default;
    virtual void buttonDown(QPoint point) = 0;
    virtual void mouseMove(QPoint point, bool leftHeld) = 0;
    virtual void buttonUp(QPoint point) = 0;
};

} // namespace quorin
