#include "dialogkeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace quorin {

bool HandleSideWindowKey(QWidget& window, QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    auto* button = qobject_cast<QPushButton*>(window.focusWidget());
    if (!button || !button->isEnabled() || !button->isVisible())
        return false;
    button->click();
    event->accept();
    return true;
}

} // namespace quorin
