#include "environment.h"

#include "lazymovesound.h"

#include <QCoreApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>

namespace quorin {

Environment Environment::Default() {
    Environment env;
    env.programFolder = QCoreApplication::applicationDirPath();
    env.workingFolder = QDir::currentPath();
    env.showMessage = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorin"), text, QMessageBox::Ok,
                        parent);
        // The player can select and copy the text, e.g. an error to pass on.
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box.exec();
    };
    env.askText = [](QWidget* parent, const QString& prompt) {
        return QInputDialog::getText(parent, QString(), prompt);
    };
    env.makeMoveSound = [folder = env.programFolder] {
        return std::make_unique<LazyMoveSound>(folder);
    };
    return env;
}

} // namespace quorin
