#pragma once

#include "movesound.h"
#include "net/routerclient.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace quorin {

// Everything a copy of the program takes from the world outside it. The defaults are the
// real thing; tests pass their own folders, port, boxes and sound.
//
// The folders are where files may be; the questions below them decide where each file is
// read and written, for every part of the program alike.
struct Environment {
    // The folder that holds the executable.
    QString programFolder;
    // The folder the program was started in.
    QString workingFolder;
    // The installed program's read-only data: the pictures, the sound and the default
    // address list (<prefix>/share/quorin). It does not exist in a build tree.
    QString dataFolder;
    // The installed program's own libraries, among them the move sound's.
    QString libraryFolder;
    // The user's own settings (the edited address list) and records.
    QString userConfigFolder;
    QString userDataFolder;

    // The one port the server listens on and the client connects to. Servers waiting on the
    // local network are found on the UDP port of the same number.
    quint16 port = 8000;
    // How long a server found on the local network stays offered after it was last heard.
    int foundServerLifetimeMs = 10000;
    // A modal message box with the title "Quorin" and one OK button, showing `text` as
    // plain text. It does not wait for the player: the program and the connection go on
    // while it is open. Answers the box while it stays open (null when nothing stays open),
    // so a caller can keep from opening a second one of the same kind.
    std::function<QWidget*(QWidget* parent, const QString& text)> showMessage;
    // A modal input box; an empty answer when the player cancels.
    std::function<QString(QWidget* parent, const QString& prompt)> askText;
    // A modal question with the title "Quorin" and the buttons Yes and No, showing `text`
    // as plain text; answers whether the player chose Yes. Like the input box it waits for
    // the answer. Asked before a file the player names replaces one already there.
    std::function<bool(QWidget* parent, const QString& text)> askYesNo;
    // The move sound.
    std::function<std::unique_ptr<MoveSound>()> makeMoveSound;
    // The home router, asked to open the game's port only while the player wants it, and
    // how long it keeps the port open unless asked again.
    std::function<std::unique_ptr<RouterClient>()> makeRouter;
    int routerLeaseSeconds = 3600;

    static Environment Default();

    // Whether the program runs from an installation: its data folder is there. An
    // installed program's folders belong to the system and are never written.
    bool installed() const;
    // The folder of the piece pictures: the working folder when it holds them, else the
    // data folder, else the program's own folder (a build tree).
    QString picturesFolder() const;
    // The move sound "C.wav", looked up the same way as the pictures.
    QString moveSoundFile() const;
    // The folder the move sound's library is loaded from.
    QString soundLibraryFolder() const;
    // The folder of the address list "Virir.txt": the program's folder when it is there,
    // else the user's configuration folder when it is there, else the installed default.
    QString addressListFolder() const;
    // The folder of the running record and of records saved under a bare name: the
    // program's folder when it may be written, else the user's data folder (made when the
    // first record is written).
    QString recordFolder() const;
    // The folder a record saved as `name` lands in when the name has no absolute path: the
    // record folder for a bare name, the working folder for a name with folders in it.
    QString savedRecordFolder(const QString& name) const;
    // Where a game in progress is kept between runs of the program: the user's data folder,
    // where the records go when the program's own folder may not be written.
    QString savedGameFolder() const { return userDataFolder; }
    // Where the file chooser starts for a replay: the record folder once it exists.
    QString replayChooserFolder() const;
};

} // namespace quorin
