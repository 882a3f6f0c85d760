#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

namespace quorin {

// Block copies between RGB32 surfaces. Each copies the area `from` of `source` to `to`
// in `target`, clipped to both surfaces, and answers the area of `target` it changed.

// A plain copy.
QRect CopyArea(QImage& target, QPoint to, const QImage& source, QRect from);

// A copy that leaves out every source pixel exactly equal to `key` (the transparent
// colour of the piece pictures and of the half-transparent dragged piece).
QRect CopyAreaKeyed(QImage& target, QPoint to, const QImage& source, QRect from, QRgb key);

// Blends the source over the target with the constant opacity alpha/255, rounding to
// the nearest value: pure red at 128 over RGB(253, 252, 189) gives RGB(254, 126, 94).
QRect BlendArea(QImage& target, QPoint to, const QImage& source, QRect from, int alpha);

} // namespace quorin
