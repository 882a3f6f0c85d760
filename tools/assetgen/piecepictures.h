#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <array>

class QPainter;
class QRawFont;

namespace assetgen {

enum class PieceKind { Pawn, Rook, Knight, Bishop, Queen, King };
enum class PieceSide { White, Black };

// Side length of a piece picture; the board draws each square one pixel wider than
// this plus a two-pixel grid line.
constexpr int kPieceSize = 48;

// Pixels exactly this colour are not drawn: the picture's background.
constexpr QRgb kTransparentKey = qRgb(255, 0, 0);
// Second key colour, used while a piece is dragged; no piece pixel may end up on it.
constexpr QRgb kDragKey = qRgb(254, 126, 94);
// The light square colour: antialiased edges blend towards it.
constexpr QRgb kBoardColour = qRgb(253, 252, 189);

struct PieceFile {
    const char* name;
    PieceKind kind;
    PieceSide side;
};

constexpr std::array<PieceFile, 12> kPieceFiles{{
    {"po1.bmp", PieceKind::Pawn, PieceSide::White},
    {"ru1.bmp", PieceKind::Rook, PieceSide::White},
    {"ni1.bmp", PieceKind::Knight, PieceSide::White},
    {"pi1.bmp", PieceKind::Bishop, PieceSide::White},
    {"qu1.bmp", PieceKind::Queen, PieceSide::White},
    {"ki1.bmp", PieceKind::King, PieceSide::White},
    {"po2.bmp", PieceKind::Pawn, PieceSide::Black},
    {"ru2.bmp", PieceKind::Rook, PieceSide::Black},
    {"ni2.bmp", PieceKind::Knight, PieceSide::Black},
    {"pi2.bmp", PieceKind::Bishop, PieceSide::Black},
    {"qu2.bmp", PieceKind::Queen, PieceSide::Black},
    {"ki2.bmp", PieceKind::King, PieceSide::Black},
}};

// True when the font holds the six solid chess glyphs (U+265A..U+265F) the pieces are
// drawn from.
bool hasChessGlyphs(const QRawFont& font);

// Draws one piece, antialiased, into `target`: the king fills its height, the other
// pieces are a little shorter (the pawn the shortest); each keeps its proportions, is
// centred across and stands on the bottom edge of `target`.
void paintPiece(QPainter& painter, const QRawFont& font, PieceKind kind, PieceSide side,
                const QRectF& target);

// The piece drawn antialiased on a transparent kPieceSize square, 2 pixels in from its
// edges; the alpha channel is the piece's coverage.
QImage renderPieceCoverage(const QRawFont& font, PieceKind kind, PieceSide side);

// The piece picture from its coverage: 24-bit, kTransparentKey where nothing is drawn,
// every other pixel blended over kBoardColour so no edge leans towards the key.
QImage keyedPicture(const QImage& coverage);

// Describes the first covered pixel that would land on a key colour or look red when the
// key is left out; empty when the piece is clean.
QString keyColourProblem(const QImage& coverage);

} // namespace assetgen
