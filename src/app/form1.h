#pragma once

#include <QMainWindow>

namespace quorin {

// The main window: the board, the controls below it and the menu bar.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
};

} // namespace quorin
