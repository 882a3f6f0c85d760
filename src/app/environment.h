#pragma once

#include "movesound.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace quorin {

// Everything a copy of the program takes from the world outside it. The defaults are the
// real thing; tests pass their own folders, port, boxes and sound.
struct Environment {
    // Folder of the address list and the game record: the program's own folder.
    QString programFolder;
    // Folder of the piece pictures and the move sound: the folder the program started in.
    QString workingFolder;
    // The one port the server listens on and the client connects to.
    quint16 port = 8000;
    // A modal message box with the title "Quorin" and one OK button, showing `text` as
    // plain text. It does not wait for the player: the program and the connection go on
    // while it is open. Answers the box while it stays open (null when nothing stays open),
    // so a caller can keep from opening a second one of the same kind.
    std::function<QWidget*(QWidget* parent, const QString& text)> showMessage;
    // A modal input box; an empty answer when the player cancels.
    std::function<QString(QWidget* parent, const QString& prompt)> askText;
    // The move sound.
    std::function<std::unique_ptr<MoveSound>()> makeMoveSound;

    static Environment Default();
};

} // namespace quorin
