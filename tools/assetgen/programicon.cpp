#include "programicon.h"

#include "piecepictures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr QRgb kFrameColour = qRgb(96, 64, 32);

} // namespace

QImage renderProgramIcon(const QRawFont& font, int size) {
    QImage icon(size, size, QImage::Format_RGB888);
    icon.fill(QColor(kBoardColour));
    QPainter painter(&icon);
    // Frame and margin keep the proportions of the 40-pixel icon: 2 and 4 pixels there.
    const double frame = std::max(1.0, std::round(size / 20.0));
    const double margin = std::max(2.0, std::round(size / 10.0));
    painter.setPen(QPen(QColor(kFrameColour), frame));
    painter.drawRect(QRectF(frame / 2, frame / 2, size - frame, size - frame));
    paintPiece(painter, font, PieceKind::King, PieceSide::Black,
               QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    painter.end();
    icon.setDotsPerMeterX(3780);
    icon.setDotsPerMeterY(3780);
    return icon;
}

} // namespace assetgen
