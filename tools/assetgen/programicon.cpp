#include "programicon.h"

#include "piecepictures.h"

#include <QPainter>

namespace assetgen {

namespace {

constexpr QRgb kFrameColour = qRgb(96, 64, 32);

} // namespace

QImage renderProgramIcon(const QRawFont& font) {
    QImage icon(kIconSize, kIconSize, QImage::Format_RGB888);
    icon.fill(QColor(kBoardColour));
    QPainter painter(&icon);
    painter.setPen(QPen(QColor(kFrameColour), 2.0));
    painter.drawRect(QRectF(1.0, 1.0, kIconSize - 2.0, kIconSize - 2.0));
    paintPiece(painter, font, PieceKind::King, PieceSide::Black,
               QRectF(4.0, 4.0, kIconSize - 8.0, kIconSize - 8.0));
    painter.end();
    icon.setDotsPerMeterX(3780);
    icon.setDotsPerMeterY(3780);
    return icon;
}

} // namespace assetgen
