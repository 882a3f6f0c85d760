#pragma once

#include "wholefile.h"

#include <QByteArray>
#include <QString>

namespace quorin {

// The game record: a plain text file in the record folder with one line per position,
// kept from the moment the player chooses "全手保存" until the program ends. The file is
// never held open: every line is appended by opening, writing and closing the file, so the
// record on disk is complete after each move.
//
// Failures do not stop the game. Each operation answers a text for a message box that says
// what went wrong and with which file, or an empty text when all went well.
class GameRecord {
public:
    // The running record, in the record folder.
    static constexpr const char* kFileName = "RadedIvu.chs";

    // `folder` holds the running record: the program's folder where it may be written,
    // else the user's own one. It is made when the record is first written.
    explicit GameRecord(QString folder);

    // Whether moves are recorded: false until SwitchOn, then true for the rest of the run.
    bool RecordAll() const { return recordAll_; }
    // The running record: folder/RadedIvu.chs.
    QString path() const;

    // "全手保存": recording goes on for the rest of the run and the record file is emptied
    // (created, or cut to zero length). Recording is on even when the file cannot be
    // emptied; the answer then says why.
    QString SwitchOn();
    // Appends `line` and CR LF to the file `name` in the record folder, creating the file
    // when it does not exist, and closes it again.
    QString AppendRecord(const QString& name, const QByteArray& line);
    // Appends `line` to the running record while recording is on; otherwise does nothing.
    QString Record(const QByteArray& line);
    // "名前を付けて保存...": copies the running record to SaveAsName(answer), taken relative
    // to `baseFolder` unless it is an absolute path. Something of that name already there
    // is replaced only when `ask` answers yes (see MayReplace), and then whole or, when the
    // copy fails, not at all. The running record stays as it is; it is read as a replay
    // reads it (see recordfile.h). An empty answer (the player cancelled) does nothing.
    QString SaveAs(const QString& answer, const QString& baseFolder,
                   const AskYesNo& ask = {}) const;

private:
    QString folder_;
    bool recordAll_ = false;
};

} // namespace quorin
