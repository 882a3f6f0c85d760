#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quorin {

// The one way the records, the replay, the PGN export and the memo pad read a file.

// Why a file was refused for not being a regular file: a pipe, a device, a socket, a
// folder, a link to one of these, or a link loop.
QString NotRegularFile();

// Whether something other than a regular file stands at `path` after following links (a
// pipe, a device, a folder): opening it for writing could wait for ever.
bool NotRegularThere(const QString& path);

// Reads the file at `path` when it is a regular file after following links, handing its
// bytes to `piece` in order, a piece at a time, until `piece` answers false. Nothing else
// is ever opened: reading a pipe or a device would never end or never stop. On Unix the
// file is also opened without waiting and checked once open, so an entry swapped for a
// pipe after the check cannot hold the program either.
//
// A file of more than `maxBytes` is refused with `tooLarge`, before anything is read when
// its size tells, else as soon as more was read (a file that grows meanwhile). Answers
// why the file was not read, for a message, or an empty text.
QString ReadRegularFile(const QString& path, qint64 maxBytes, const QString& tooLarge,
                        const std::function<bool(QByteArrayView piece)>& piece);

} // namespace quorin
