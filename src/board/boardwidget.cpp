#include "boardwidget.h"

#include "boardmouse.h"
#include "boardrenderer.h"
#include "boardtable.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorin {

BoardWidget::BoardWidget(BoardRenderer& renderer, QWidget* parent)
    : QWidget(parent), renderer_(renderer) {
    setFixedSize(kClientWidth, kClientHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
    if (!bufferReady_) {
        clientRect_ = rect();
        bufferReady_ = true;
        renderer_.CreateBackBuffer(clientRect_.size());
        renderer_.FillBackground(clientRect_, 10, palette().color(QPalette::Window));
        emit firstPaint();
        renderer_.TakeChanges(); // this paint shows them all
    }
    // Only the parts asked for are copied: a whole-picture copy costs more than the small
    // changes of a move, and Qt would hand it to worker threads.
    QPainter painter(this);
    for (const QRect& area : event->region())
        painter.drawImage(area.topLeft(), renderer_.BackBuffer(), area);
}

void BoardWidget::ShowChanges() {
    const QRegion changed = renderer_.TakeChanges();
    if (!changed.isEmpty())
        update(changed);
    if (table_)
        table_->Refresh();
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
    if (table_)
        table_->MousePressed();
    if (mouse_ && event->button() == Qt::LeftButton)
        mouse_->buttonDown(event->position().toPoint());
}

void BoardWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!window()->isActiveWindow())
        window()->activateWindow();
    if (mouse_)
        mouse_->mouseMove(event->position().toPoint(), event->buttons().testFlag(Qt::LeftButton));
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (mouse_ && event->button() == Qt::LeftButton)
        mouse_->buttonUp(event->position().toPoint());
}

} // namespace quorin
