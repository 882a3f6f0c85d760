#pragma once

#include <QRect>
#include <QWidget>

namespace quorin {

class BoardMouse;
class BoardRenderer;
class BoardTable;

// The client area of the main window: it shows the back buffer and hands the mouse to
// the move input. The controls below the board are its children.
class BoardWidget : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 600;
    static constexpr int kClientHeight = 491;

    BoardWidget(BoardRenderer& renderer, QWidget* parent = nullptr);

    void setMouse(BoardMouse* mouse) { mouse_ = mouse; }
    // The board's squares for the keyboard and screen readers, kept up to date with it.
    void setTable(BoardTable* table) { table_ = table; }

    // Whether the first paint has made the back buffer.
    bool BufferReady() const { return bufferReady_; }

    // Brings what changed in the back buffer to the screen.
    void ShowChanges();

signals:
    // The first paint has made the back buffer and filled its background; the board is to
    // be set up now, before this paint shows the back buffer.
    void firstPaint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    BoardRenderer& renderer_;
    BoardMouse* mouse_ = nullptr;
    BoardTable* table_ = nullptr;
    bool bufferReady_ = false;
    QRect clientRect_;
};

} // namespace quorin
