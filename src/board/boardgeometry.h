#pragma once

#include "rules/square.h"

#include <QPoint>
#include <QRect>

#include <array>

namespace quorin {

// Sizes of the drawn board, all following from the size of the piece pictures: a square
// is three pixels larger than a picture, the board eight squares, its top-left corner at
// client pixel (70, 10).
struct BoardGeometry {
    static constexpr int kLeft = 70;
    static constexpr int kTop = 10;

    int PieceWidth = 0;
    int PieceHeight = 0;
    int CellWidth = 3;
    int CellHeight = 3;
    int BoardWidth = 24;
    int BoardHeight = 24;
    // Left edge of picture i (0..12) in the strip of piece pictures; slots 13..16 stay 0.
    std::array<int, 17> StripOffsets{};

    static BoardGeometry ForPieceSize(int width, int height);

    // Top-left pixel of the picture of a piece on a square: one pixel inside the grid.
    QPoint piecePosition(Square s) const {
        return {kLeft + 1 + s.x * CellWidth, kTop + 1 + s.y * CellHeight};
    }
    QRect pieceRect(Square s) const { return {piecePosition(s), QSize(PieceWidth, PieceHeight)}; }
    // The board with its two-pixel border, the area a full board drawing changes.
    QRect boardRect() const { return {kLeft - 1, kTop - 1, BoardWidth + 3, BoardHeight + 3}; }
};

} // namespace quorin
