#pragma once

#include "rules/gamestate.h"

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace quorin {

// What a copy keeps of a game in progress, so that the game goes on after a lost link or a
// closed window: the position and whose turn it is, both clocks, how this copy was
// connected, and the move still waiting for its answer.
struct SavedGame {
    GameState game;
    bool server = false;           // this copy was the server; else the client of `host`
    QString host;                  // what the client connected to, as typed
    bool secondPictures = false;   // the own pieces are drawn with the second set
    std::array<int, 2> clocks{};   // the opponent's and the own thinking time, in seconds
    std::u16string unansweredMove; // the last move sent, sent again when the game is resumed
};

// The file's text, and the game read back from one; nothing for a text that is not a
// whole game of this version, written by this program.
QByteArray WriteSavedGame(const SavedGame& saved);
std::optional<SavedGame> ReadSavedGame(const QByteArray& text);

// The saved games of one user, one file for each game side, in `folder`. A copy holds the
// file of its game with a lock, so two copies never share one; a copy that starts takes
// the newest file no running copy holds. Files that cannot be read as a game are left as
// they are.
class SavedGameFile {
public:
    explicit SavedGameFile(QString folder) : folder_(std::move(folder)) {}
    ~SavedGameFile();

    // The newest game no other copy holds, now held by this one.
    std::optional<SavedGame> TakeNewest();
    // Writes the game in the file this copy holds (made the first time), whole or not at
    // all; answers whether it could.
    bool Save(const SavedGame& saved);
    // The game is over or a new one begins: the file goes.
    void Remove();

    QString path() const { return path_; }

private:
    bool Hold(const QString& path);

    QString folder_;
    QString path_; // the file held, empty while none is
    std::unique_ptr<QLockFile> lock_;
};

} // namespace quorin
