#include "piecepictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRawFont>
#include <QTransform>

#include <cmath>

namespace assetgen {

namespace {

// White pieces: ivory body inside a dark outline, with dark inner lines. Black pieces: the
// same shape the other way round, near-black with light inner lines, so both sets read
// alike and stay readable on either square colour.
constexpr QRgb kWhiteBody = qRgb(255, 255, 248);
constexpr QRgb kWhiteLine = qRgb(24, 24, 24);
constexpr QRgb kBlackBody = qRgb(34, 34, 34);
constexpr QRgb kBlackLine = qRgb(214, 212, 200);

// Width of the white pieces' outline, in picture pixels at the full piece size.
constexpr double kOutlineWidth = 1.5;

// First of the six solid chess glyphs, U+265A..U+265F: king, queen, rook, bishop, knight,
// pawn. Their holes are the pieces' inner lines.
constexpr char32_t kFirstSolidGlyph = U'\u265A';

char32_t solidGlyph(PieceKind kind) {
    switch (kind) {
    case PieceKind::King:
        return kFirstSolidGlyph;
    case PieceKind::Queen:
        return kFirstSolidGlyph + 1;
    case PieceKind::Rook:
        return kFirstSolidGlyph + 2;
    case PieceKind::Bishop:
        return kFirstSolidGlyph + 3;
    case PieceKind::Knight:
        return kFirstSolidGlyph + 4;
    case PieceKind::Pawn:
        return kFirstSolidGlyph + 5;
    }
    return kFirstSolidGlyph + 5;
}

// Height relative to the king, so that the set reads as a set: the pawn is the smallest.
double relativeHeight(PieceKind kind) {
    switch (kind) {
    case PieceKind::Pawn:
        return 0.80;
    case PieceKind::Rook:
        return 0.86;
    case PieceKind::Knight:
        return 0.92;
    case PieceKind::Bishop:
        return 0.94;
    case PieceKind::Queen:
    case PieceKind::King:
        return 1.0;
    }
    return 1.0;
}

QPainterPath glyphPath(const QRawFont& font, char32_t character) {
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&character, 1));
    if (glyphs.size() != 1 || glyphs.front() == 0)
        return {};
    // TrueType outlines may overlap; only the non-zero winding rule fills them as drawn.
    QPainterPath path = font.pathForGlyph(glyphs.front());
    path.setFillRule(Qt::WindingFill);
    return path;
}

// Everything inside the glyph's outer edge: every contour filled, holes included.
QPainterPath silhouetteOf(const QPainterPath& glyph) {
    QPainterPath silhouette;
    for (const QPolygonF& contour : glyph.toSubpathPolygons()) {
        QPainterPath area;
        area.addPolygon(contour);
        area.closeSubpath();
        silhouette = silhouette.united(area);
    }
    return silhouette;
}

// Maps font units onto `target`: every piece uses the king's scale times its relative
// height, is centred across and stands on the bottom edge.
QTransform placement(const QRawFont& font, PieceKind kind, const QRectF& target) {
    const QRectF box = glyphPath(font, solidGlyph(kind)).boundingRect();
    const QRectF kingBox = glyphPath(font, solidGlyph(PieceKind::King)).boundingRect();
    double scale = target.height() / kingBox.height() * relativeHeight(kind);
    if (box.width() * scale > target.width())
        scale = target.width() / box.width();
    QTransform transform;
    transform.translate(target.center().x() - box.center().x() * scale,
                        target.bottom() - box.bottom() * scale);
    transform.scale(scale, scale);
    return transform;
}

// A pixel of the piece laid over the light square; pixel() of a premultiplied image gives
// the premultiplied colour, so the square only adds where coverage is missing.
QRgb overBoard(QRgb premultiplied) {
    const int keep = 255 - qAlpha(premultiplied);
    const auto channel = [keep](int piece, int board) {
        return piece + (keep * board + 127) / 255;
    };
    return qRgb(channel(qRed(premultiplied), qRed(kBoardColour)),
                channel(qGreen(premultiplied), qGreen(kBoardColour)),
                channel(qBlue(premultiplied), qBlue(kBoardColour)));
}

bool reddish(QRgb colour) {
    return qRed(colour) > 200 && qGreen(colour) < 150;
}

// The colour a piece pixel takes when drawn half transparent over the board.
bool halfBlendHitsDragKey(QRgb colour) {
    const auto blend = [](int piece, int board) { return (piece * 128 + board * 127) / 255.0; };
    return std::abs(blend(qRed(colour), qRed(kBoardColour)) - qRed(kDragKey)) <= 1.0 &&
           std::abs(blend(qGreen(colour), qGreen(kBoardColour)) - qGreen(kDragKey)) <= 1.0 &&
           std::abs(blend(qBlue(colour), qBlue(kBoardColour)) - qBlue(kDragKey)) <= 1.0;
}

} // namespace

bool hasChessGlyphs(const QRawFont& font) {
    if (!font.isValid())
        return false;
    for (char32_t character = kFirstSolidGlyph; character < kFirstSolidGlyph + 6; ++character) {
        if (!font.supportsCharacter(character) || glyphPath(font, character).isEmpty())
            return false;
    }
    return true;
}

void paintPiece(QPainter& painter, const QRawFont& font, PieceKind kind, PieceSide side,
                const QRectF& target) {
    const QTransform place = placement(font, kind, target);
    const QPainterPath glyph = glyphPath(font, solidGlyph(kind));
    const QPainterPath silhouette = silhouetteOf(glyph);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (side == PieceSide::White) {
        // The body is the glyph's ink drawn light, pulled in from the edge so that a dark
        // rim of even width remains; the glyph's holes show the dark as inner lines.
        const double rimWidth = kOutlineWidth * target.height() / kPieceSize / place.m11();
        QPainterPathStroker rim;
        rim.setWidth(2.0 * rimWidth);
        rim.setJoinStyle(Qt::RoundJoin);
        const QPainterPath body =
            glyph.intersected(silhouette.subtracted(rim.createStroke(silhouette)));
        painter.fillPath(place.map(silhouette), QColor(kWhiteLine));
        painter.fillPath(place.map(body), QColor(kWhiteBody));
    } else {
        // The glyph drawn dark over its light silhouette: its holes become light lines.
        painter.fillPath(place.map(silhouette), QColor(kBlackLine));
        painter.fillPath(place.map(glyph), QColor(kBlackBody));
    }
    painter.restore();
}

QImage renderPieceCoverage(const QRawFont& font, PieceKind kind, PieceSide side) {
    QImage render(kPieceSize, kPieceSize, QImage::Format_ARGB32_Premultiplied);
    render.fill(Qt::transparent);
    QPainter painter(&render);
    constexpr double margin = 2.0;
    paintPiece(painter, font, kind, side,
               QRectF(margin, margin, kPieceSize - 2 * margin, kPieceSize - 2 * margin));
    painter.end();
    return render;
}

QImage keyedPicture(const QImage& coverage) {
    QImage picture(coverage.size(), QImage::Format_RGB888);
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            const QRgb pixel = coverage.pixel(x, y);
            picture.setPixel(x, y, qAlpha(pixel) == 0 ? kTransparentKey : overBoard(pixel));
        }
    }
    // A fixed resolution keeps the files independent of the screen the tool runs on.
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    return picture;
}

QString keyColourProblem(const QImage& coverage) {
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            const QRgb pixel = coverage.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            const QRgb colour = overBoard(pixel);
            const auto where = QStringLiteral("pixel (%1, %2) colour #%3")
                                   .arg(x)
                                   .arg(y)
                                   .arg(colour & 0xffffff, 6, 16, QLatin1Char('0'));
            if (colour == kTransparentKey || colour == kDragKey)
                return where + QStringLiteral(" equals a key colour");
            if (reddish(colour))
                return where + QStringLiteral(" is red enough to show as a fringe");
            if (halfBlendHitsDragKey(colour))
                return where + QStringLiteral(" turns into the drag key when half transparent");
        }
    }
    return {};
}

} // namespace assetgen
