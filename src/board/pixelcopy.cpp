#include "pixelcopy.h"

#include <cstring>

namespace quorin {
namespace {

// Shrinks a copy so that both its source and its target area lie inside their surfaces.
// Answers false when nothing is left.
bool Clip(const QImage& target, QPoint& to, const QImage& source, QRect& from) {
    const QPoint shift = to - from.topLeft(); // source to target coordinates
    QRect area = from.intersected(source.rect());
    area = area.translated(shift).intersected(target.rect()).translated(-shift);
    if (area.isEmpty())
        return false;
    from = area;
    to = area.topLeft() + shift;
    return true;
}

template <typename PixelOp>
QRect ForEachRow(QImage& target, QPoint to, const QImage& source, QRect from, PixelOp op) {
    if (!Clip(target, to, source, from))
        return {};
    for (int row = 0; row < from.height(); ++row) {
        const auto* in =
            reinterpret_cast<const QRgb*>(source.constScanLine(from.top() + row)) + from.left();
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(to.y() + row)) + to.x();
        op(out, in, from.width());
    }
    return {to, from.size()};
}

} // namespace

QRect CopyArea(QImage& target, QPoint to, const QImage& source, QRect from) {
    return ForEachRow(target, to, source, from, [](QRgb* out, const QRgb* in, int n) {
        std::memmove(out, in, sizeof(QRgb) * static_cast<std::size_t>(n));
    });
}

QRect CopyAreaKeyed(QImage& target, QPoint to, const QImage& source, QRect from, QRgb key) {
    key &= RGB_MASK;
    return ForEachRow(target, to, source, from, [key](QRgb* out, const QRgb* in, int n) {
        for (int i = 0; i < n; ++i) {
            if ((in[i] & RGB_MASK) != key)
                out[i] = in[i] | ~RGB_MASK;
        }
    });
}

QRect BlendArea(QImage& target, QPoint to, const QImage& source, QRect from, int alpha) {
    const int keep = 255 - alpha;
    auto mix = [alpha, keep](int s, int d) { return (s * alpha + d * keep + 127) / 255; };
    return ForEachRow(target, to, source, from, [&](QRgb* out, const QRgb* in, int n) {
        for (int i = 0; i < n; ++i) {
            out[i] = qRgb(mix(qRed(in[i]), qRed(out[i])), mix(qGreen(in[i]), qGreen(out[i])),
                          mix(qBlue(in[i]), qBlue(out[i])));
        }
    });
}

} // namespace quorin
