#pragma once

#include "boardgeometry.h"
#include "rules/board.h"

#include <QColor>
#include <QImage>
#include <QRegion>
#include <QString>

#include <optional>

#include <string_view>
#include <utility>

namespace quorin {

// Draws the board and its pieces into memory surfaces. The whole picture of the board
// window lives in the back buffer; the window shows it. Every drawing step notes the area
// of the back buffer it changed, and the window repaints just those areas (TakeChanges),
// so a drag frame repaints only the piece's old and new place and a message that changed
// nothing repaints nothing, while the screen still shows the whole back buffer.
//
// The surfaces, as in the board window's design:
//  - blank:  2 x 3 pictures; at (0, 0) an empty square, at (0, PieceHeight) the scratch
//            area where the half-transparent dragged piece is composed; new at every MakeBan
//  - load:   the piece picture being read while the strip is built
//  - strip:  the twelve piece pictures side by side, made once
//  - back buffer: the whole client area of the window, made at the first paint
//  - saved:  the client picture without the dragged piece, valid during a drag
class BoardRenderer {
public:
    static constexpr QRgb kBoardFill = qRgb(253, 252, 189);
    static constexpr QRgb kPieceKey = qRgb(255, 0, 0);
    static constexpr QRgb kDragKey = qRgb(254, 126, 94);
    static constexpr int kDragOpacity = 128;
    // The frame that marks a piece chosen by a click: dark blue, two pixels wide, inside
    // the square's picture area, so the grid lines stay as they are.
    static constexpr QRgb kMarkColour = qRgb(0, 72, 200);
    static constexpr int kMarkWidth = 2;

    // Pictures are read as <name>.bmp from `pictureFolder`.
    BoardRenderer(const BoardGeometry& geometry, const QString& pictureFolder);

    const BoardGeometry& geometry() const { return geometry_; }
    const QImage& StripSurface() const { return strip_; }
    const QImage& BackBuffer() const { return back_; }

    // The back buffer, made once at the window's first paint with its client size.
    void CreateBackBuffer(QSize clientSize);
    // Fills `rect` of the back buffer, stretched by `extraHeight` rows, with `colour`.
    void FillBackground(QRect rect, int extraHeight, QColor colour);
    // The board with its grid, no pieces; also takes the empty-square picture.
    void MakeBan();
    // Piece `name` on square `index` (0..63) of the back buffer, red left out. The empty
    // square's name has no picture and draws nothing.
    void DrawPiece(std::string_view name, int index);
    // The whole board and every piece of `board`; reads the pictures the first time.
    // When the picture already shows a board, only the squares that differ are drawn.
    // During a drag the whole board is drawn and the saved picture is given up.
    void DrawBoard(const Board& board);

    // Drag steps. LiftPiece empties the piece's square in the back buffer only; the window
    // keeps showing the piece until the next repaint.
    void LiftPiece(Square square);
    void DrawDraggedPiece(std::string_view name, QPoint mouse);
    void ReturnPiece(Square square, std::string_view name);
    void DrawMove(Square from, Square to, std::string_view name);
    // The drag is over: the saved picture is no longer valid.
    void EndDrag();

    // The mark of a chosen piece's square: DrawMark frames the square's picture area,
    // RemoveMark puts back exactly the pixels the frame covered. One square at a time;
    // drawing the board takes a mark away first, so the picture never keeps one.
    void DrawMark(Square square);
    void RemoveMark();

    // Which pictures draw the local player's pieces (names ending in "1"): the first set,
    // as in the picture files, or the second, that of the other side's pieces; the other
    // side takes the other set. Answers whether the pictures changed: a board drawn before
    // must then be drawn again.
    enum class PictureSet { First, Second };
    bool UsePictureSet(PictureSet set);
    PictureSet pictureSet() const { return pictureSet_; }

    // Frees every surface (shutdown).
    void ReleaseSurfaces();

    // Drawing into the back buffer from outside (the clocks); the area drawn must be
    // noted with MarkChanged.
    QImage& backBufferForDrawing() { return back_; }
    void MarkChanged(const QRect& area) { changed_ += area.intersected(back_.rect()); }
    // The areas changed since the last call, for the window to repaint.
    QRegion TakeChanges() { return std::exchange(changed_, QRegion()); }

private:
    void LoadStrip();
    // Exchanges the pictures of the two sides in the strip; twice restores it.
    void SwapStripHalves();
    void SaveBackBuffer();
    void RestoreDragArea();

    BoardGeometry geometry_;
    QString pictureFolder_;
    QImage blank_;
    QImage load_;
    QImage strip_;
    QImage back_;
    QImage saved_;
    bool stripLoaded_ = false;
    bool savedValid_ = false;
    PictureSet pictureSet_ = PictureSet::First;
    QRegion changed_;            // areas of the back buffer the window does not show yet
    std::optional<Board> drawn_; // the pieces the picture shows, when known
    QRect dragArea_;             // where the half-transparent piece was last drawn
    PieceCode composed_ = -1;    // the piece whose half-transparent picture the blank holds
    QRect markArea_;             // the marked square's picture area, empty when none
    QImage underMark_;           // what the mark covers
};

} // namespace quorin
