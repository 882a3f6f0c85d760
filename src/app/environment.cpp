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
    env.showMessage = [](QWidget* parent, const QString& text) -> QWidget* {
        auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quorin"), text,
                                    QMessageBox::Ok, parent);
        // Texts from the peer and from files are shown as they are: markup is never
        // interpreted, so no text can make the box load a file or style itself.
        box->setTextFormat(Qt::PlainText);
        // The player can select and copy the text, e.g. an error to pass on.
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setAttribute(Qt::WA_DeleteOnClose);
        // Modal, but without a message loop of its own: nothing waits for the OK.
        box->setWindowModality(Qt::ApplicationModal);
        box->show();
        return box;
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
