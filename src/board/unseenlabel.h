#pragma once

#include <QLabel>

namespace quorin {

// A text for screen readers only: a label that paints nothing and lets the mouse through,
// over what the back buffer already shows (the clocks' lines, drawn into the picture).
class UnseenLabel : public QLabel {
public:
    explicit UnseenLabel(QWidget* parent) : QLabel(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace quorin
