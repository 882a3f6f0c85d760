#include "form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The window's class and the desktop's menu entry name the program the same way, so a
    // desktop ties the running window to its entry and icon.
    QApplication::setApplicationName(QStringLiteral("Quorin"));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORIN_APP_ID));
    quorin::Form1 window;
    window.show();
    return app.exec();
}
