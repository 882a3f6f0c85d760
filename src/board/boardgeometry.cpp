#include "boardgeometry.h"

namespace quorin {

BoardGeometry BoardGeometry::ForPieceSize(int width, int height) {
    BoardGeometry g;
    g.PieceWidth = width;
    g.PieceHeight = height;
    g.CellWidth = width + 3;
    g.CellHeight = height + 3;
    g.BoardWidth = 8 * g.CellWidth;
    g.BoardHeight = 8 * g.CellHeight;
    for (int i = 0; i <= 12; ++i)
        g.StripOffsets[i] = i * width;
    return g;
}

} // namespace quorin
