#pragma once

#include "wholefile.h"

#include <QByteArray>
#include <QString>

namespace quorin {

// A game record file exported as a PGN file for other chess programs.

// The PGN text of the record file at `recordPath`, in UTF-8, dated with the day the file
// was last written; or, in `failure`, why there is none (the file cannot be read, or holds
// no position), for a message box.
struct PgnText {
    QByteArray text;
    QString failure;
};
PgnText ReadRecordAsPgn(const QString& recordPath);

// The PGN file's name from what the player typed: it always ends in ".pgn", which is added
// to every answer that does not end in it already (case matters): "game" -> "game.pgn",
// "victim.chs" -> "victim.chs.pgn", so an export never lands on a record, a memo or the
// address list; "game.pgn" stays as it is.
QString PgnFileName(const QString& answer);

// The question of the input box that asks for the PGN file's name.
QString PgnPrompt();

// Writes `text` to PgnFileName(answer), taken relative to `currentFolder` unless it is an
// absolute path. Something of that name already there is replaced only when `ask` answers
// yes (see MayReplace), and then whole or, when writing fails, not at all. Answers the
// failure for a message box, or an empty text (also when nothing was written on a no).
QString WritePgnFile(const QString& answer, const QString& currentFolder, const QByteArray& text,
                     const AskYesNo& ask = {});

} // namespace quorin
