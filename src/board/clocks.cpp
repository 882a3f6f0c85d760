#include "clocks.h"

#include "boardrenderer.h"
#include "jikan.h"
#include "rules/gamestate.h"

#include <QFontMetrics>
#include <QPainter>

namespace quorin {

Clocks::Clocks(BoardRenderer& renderer, const GameState& game, std::function<void()> showChanges,
               QObject* parent)
    : QObject(parent), renderer_(renderer), game_(game), showChanges_(std::move(showChanges)) {
    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &Clocks::tick);
    Timer1.start(kStartInterval);
}

void Clocks::setLook(const QFont& font, QColor text, QColor background) {
    font_ = font;
    text_ = text;
    background_ = background;
}

void Clocks::start() {
    ClockCounters = {0, 0};
    Timer1.start(kGameInterval);
}

void Clocks::resume() {
    Timer1.start(kGameInterval);
}

void Clocks::stop() {
    Timer1.stop();
}

void Clocks::tick() {
    ++ClockCounters[game_.MyTurn ? 1 : 0];
    Draw();
}

void Clocks::Draw() {
    QImage& back = renderer_.backBufferForDrawing();
    if (back.isNull())
        return;
    const BoardGeometry& g = renderer_.geometry();
    const int x0 = g.BoardWidth + 75;
    const int x1 = g.BoardWidth + 105;
    const int rows[2] = {g.BoardHeight - 91, g.BoardHeight - 59};
    const QString labels[2] = {QStringLiteral("相手"), QStringLiteral("自分")};

    const QFontMetrics metrics(font_);
    const int lineHeight = metrics.height();
    const QRect area(x0, rows[0], back.width() - x0, rows[1] - rows[0] + lineHeight);
    QPainter painter(&back);
    painter.setFont(font_);
    painter.setPen(text_);
    for (int i = 0; i < 2; ++i) {
        // Each line is drawn on its own background, so a shorter reading leaves no trace
        // of a longer one.
        painter.fillRect(QRect(x0, rows[i], back.width() - x0, lineHeight), background_);
        painter.drawText(QPoint(x0, rows[i] + metrics.ascent()), labels[i]);
        painter.drawText(QPoint(x1, rows[i] + metrics.ascent()),
                         QString::fromStdString(Jikan(ClockCounters[i])));
    }
    renderer_.MarkChanged(area);
    showChanges_();
    emit drawn();
}

QString Clocks::Reading(int clock) const {
    return (clock == 0 ? QStringLiteral("相手 ") : QStringLiteral("自分 ")) +
           QString::fromStdString(Jikan(ClockCounters[std::size_t(clock)]));
}

} // namespace quorin
