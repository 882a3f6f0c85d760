#include "boardrenderer.h"

#include "pixelcopy.h"

#include <QDir>
#include <QPainter>

#include <cmath>

namespace quorin {

BoardRenderer::BoardRenderer(const BoardGeometry& geometry, const QString& pictureFolder)
    : geometry_(geometry), pictureFolder_(pictureFolder) {}

void BoardRenderer::CreateBackBuffer(QSize clientSize) {
    drawn_.reset();
    markArea_ = QRect();
    back_ = QImage(clientSize, QImage::Format_RGB32);
    back_.fill(Qt::black);
}

void BoardRenderer::FillBackground(QRect rect, int extraHeight, QColor colour) {
    drawn_.reset();
    markArea_ = QRect();
    if (back_.isNull())
        return;
    QPainter painter(&back_);
    painter.fillRect(rect.adjusted(0, 0, 0, extraHeight), colour);
    MarkChanged(rect.adjusted(0, 0, 0, extraHeight));
}

void BoardRenderer::MakeBan() {
    if (back_.isNull())
        return;
    drawn_ = Board();
    markArea_ = QRect(); // drawn over
    const BoardGeometry& g = geometry_;
    const int left = BoardGeometry::kLeft;
    const int top = BoardGeometry::kTop;
    {
        QPainter painter(&back_);
        // The two-pixel border lies on the board's edges: one pixel outside, one on them.
        painter.fillRect(g.boardRect(), Qt::black);
        painter.fillRect(left + 1, top + 1, g.BoardWidth - 1, g.BoardHeight - 1,
                         QColor(kBoardFill));
    }

    blank_ = QImage(2 * g.PieceWidth, 3 * g.PieceHeight, QImage::Format_RGB32);
    blank_.fill(Qt::black);
    composed_ = -1;
    CopyArea(blank_, {0, 0}, back_, QRect(left + 1, top + 1, g.PieceWidth, g.PieceHeight));

    QPainter painter(&back_);
    for (int i = 1; i <= 7; ++i) {
        painter.fillRect(left + i * g.CellWidth, top, 1, g.BoardHeight, Qt::black);
        painter.fillRect(left, top + i * g.CellHeight, g.BoardWidth, 1, Qt::black);
    }
    MarkChanged(g.boardRect());
}

void BoardRenderer::DrawPiece(std::string_view name, int index) {
    const PieceCode k = CodeOfName(name);
    if (k < 0 || strip_.isNull())
        return;
    const QRect picture(geometry_.StripOffsets[k], 0, geometry_.PieceWidth, geometry_.PieceHeight);
    MarkChanged(
        CopyAreaKeyed(back_, geometry_.piecePosition(SquareAt(index)), strip_, picture, kPieceKey));
}

void BoardRenderer::LoadStrip() {
    const BoardGeometry& g = geometry_;
    strip_ = QImage(12 * g.PieceWidth, g.PieceHeight, QImage::Format_RGB32);
    // A picture that cannot be read leaves its place transparent, so its piece is unseen.
    strip_.fill(kPieceKey);
    const QDir folder(pictureFolder_);
    int x = 0;
    for (std::string_view name : ImageNames) {
        load_ = QImage(folder.filePath(QString::fromLatin1(name.data(), qsizetype(name.size())) +
                                       QStringLiteral(".bmp")));
        if (!load_.isNull()) {
            load_ = load_.convertToFormat(QImage::Format_RGB32);
            CopyArea(strip_, {x, 0}, load_, load_.rect());
        }
        x += g.PieceWidth;
    }
    load_ = QImage();
    stripLoaded_ = true;
    if (pictureSet_ == PictureSet::Second)
        SwapStripHalves();
}

void BoardRenderer::DrawBoard(const Board& board) {
    if (!stripLoaded_)
        LoadStrip();
    if (back_.isNull())
        return;
    RemoveMark(); // a square left as it is must not keep the mark
    if (!drawn_ || savedValid_) {
        MakeBan();
        for (int d = 0; d < 64; ++d)
            DrawPiece(board.name(SquareAt(d)), d);
        drawn_ = board;
        // A drag's saved picture shows the board as it was: the next drag step saves anew.
        savedValid_ = false;
        dragArea_ = QRect();
        return;
    }
    // The picture already shows a board: only the squares that differ are drawn again,
    // each as an empty square with its piece on it, which gives the same pixels as
    // drawing the whole board anew.
    const QRect empty(0, 0, geometry_.PieceWidth, geometry_.PieceHeight);
    for (int d = 0; d < 64; ++d) {
        const Square s = SquareAt(d);
        if (board.at(s) == drawn_->at(s))
            continue;
        MarkChanged(CopyArea(back_, geometry_.piecePosition(s), blank_, empty));
        DrawPiece(board.name(s), d);
    }
    drawn_ = board;
}

void BoardRenderer::LiftPiece(Square square) {
    MarkChanged(CopyArea(back_, geometry_.piecePosition(square), blank_,
                         QRect(0, 0, geometry_.PieceWidth, geometry_.PieceHeight)));
    if (drawn_)
        drawn_->set(square, kEmptyCode);
}

// Takes the dragged piece's last picture out of the back buffer by copying the saved
// picture over it. Outside that area the back buffer already equals the saved picture,
// so this gives the same pixels as copying the whole saved picture back.
void BoardRenderer::RestoreDragArea() {
    if (savedValid_ && !dragArea_.isEmpty()) {
        CopyArea(back_, dragArea_.topLeft(), saved_, dragArea_);
        MarkChanged(dragArea_);
    }
    dragArea_ = QRect();
}

// The picture without the dragged piece, kept for the drag. Its surface is made at the
// first drag, the size of the client area, so the program does not carry it until then.
void BoardRenderer::SaveBackBuffer() {
    if (saved_.size() != back_.size())
        saved_ = QImage(back_.size(), QImage::Format_RGB32);
    CopyArea(saved_, {0, 0}, back_, back_.rect());
    savedValid_ = true;
}

void BoardRenderer::DrawDraggedPiece(std::string_view name, QPoint mouse) {
    const PieceCode k = CodeOfName(name);
    const BoardGeometry& g = geometry_;
    // Centred on the mouse; half pixels round to the even neighbour.
    const QPoint corner(int(std::lrint(mouse.x() - g.PieceWidth / 2.0)),
                        int(std::lrint(mouse.y() - g.PieceHeight / 2.0)));
    if (!savedValid_)
        SaveBackBuffer();
    RestoreDragArea();
    if (k < 0 || k >= 12 || blank_.isNull())
        return;

    const QRect scratch(0, g.PieceHeight, g.PieceWidth, g.PieceHeight);
    if (composed_ != k) {
        // The half-transparent piece: its picture blended over an empty square. It stays
        // the same for the whole drag, so it is composed once, not at every frame.
        CopyArea(blank_, scratch.topLeft(), blank_, QRect(0, 0, g.PieceWidth, g.PieceHeight));
        BlendArea(blank_, scratch.topLeft(), strip_,
                  QRect(g.StripOffsets[k], 0, g.PieceWidth, g.PieceHeight), kDragOpacity);
        composed_ = k;
    }
    dragArea_ = QRect(corner, scratch.size()).intersected(back_.rect());
    CopyAreaKeyed(back_, corner, blank_, scratch, kDragKey);
    MarkChanged(dragArea_);
}

void BoardRenderer::ReturnPiece(Square square, std::string_view name) {
    if (!savedValid_)
        SaveBackBuffer(); // the mouse did not move: the saved picture is the window's
    RestoreDragArea();
    DrawPiece(name, IndexOf(square));
    MarkChanged(geometry_.pieceRect(square));
    if (drawn_)
        drawn_->set(square, CodeOfName(name));
}

void BoardRenderer::DrawMove(Square from, Square to, std::string_view name) {
    const QRect empty(0, 0, geometry_.PieceWidth, geometry_.PieceHeight);
    RestoreDragArea();
    MarkChanged(
        CopyArea(back_, geometry_.piecePosition(to), blank_, empty)); // a captured piece goes
    DrawPiece(name, IndexOf(to));
    MarkChanged(CopyArea(back_, geometry_.piecePosition(from), blank_, empty));
    if (drawn_) {
        drawn_->set(to, CodeOfName(name));
        drawn_->set(from, kEmptyCode);
    }
}

void BoardRenderer::EndDrag() {
    savedValid_ = false;
    dragArea_ = QRect();
}

void BoardRenderer::DrawMark(Square square) {
    RemoveMark();
    const QRect area = geometry_.pieceRect(square).intersected(back_.rect());
    if (area.isEmpty())
        return;
    markArea_ = area;
    underMark_ = back_.copy(area);
    QPainter painter(&back_);
    const int w = kMarkWidth;
    const QColor colour(kMarkColour);
    painter.fillRect(area.left(), area.top(), area.width(), w, colour);
    painter.fillRect(area.left(), area.bottom() - w + 1, area.width(), w, colour);
    painter.fillRect(area.left(), area.top(), w, area.height(), colour);
    painter.fillRect(area.right() - w + 1, area.top(), w, area.height(), colour);
    MarkChanged(area);
}

void BoardRenderer::RemoveMark() {
    if (markArea_.isEmpty())
        return;
    MarkChanged(CopyArea(back_, markArea_.topLeft(), underMark_, underMark_.rect()));
    markArea_ = QRect();
    underMark_ = QImage();
}

bool BoardRenderer::UsePictureSet(PictureSet set) {
    if (set == pictureSet_)
        return false;
    pictureSet_ = set;
    SwapStripHalves();
    return true;
}

void BoardRenderer::SwapStripHalves() {
    if (strip_.isNull())
        return;
    const int half = 6 * geometry_.PieceWidth;
    const QImage local = strip_.copy(0, 0, half, geometry_.PieceHeight);
    CopyArea(strip_, {0, 0}, strip_, QRect(half, 0, half, geometry_.PieceHeight));
    CopyArea(strip_, {half, 0}, local, local.rect());
    composed_ = -1;
    drawn_.reset(); // every piece looks different now
}

void BoardRenderer::ReleaseSurfaces() {
    blank_ = QImage();
    load_ = QImage();
    strip_ = QImage();
    back_ = QImage();
    saved_ = QImage();
    changed_ = QRegion();
    drawn_.reset();
    composed_ = -1;
    stripLoaded_ = false;
    savedValid_ = false;
    dragArea_ = QRect();
    markArea_ = QRect();
    underMark_ = QImage();
}

} // namespace quorin
