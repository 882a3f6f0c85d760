#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quorin {

// Game record files as the replay, the PGN export and the record's save-as read them.

// The largest record read: a game is about 193 bytes a move, so even a record kept over
// many games stays far below it, while a planted file (a disk image named .chs) is refused
// before it is read.
inline constexpr qint64 kMaxRecordBytes = 32 * 1024 * 1024;
// The longest line kept: a position is 191 bytes as the program writes it, so a longer
// line (even one of zero-padded tokens) is taken as no position rather than held whole.
inline constexpr std::size_t kMaxRecordLine = 4096;

// Reads the record at `path` and hands each of its lines, without its end, to `line` in
// file order, until `line` answers false. A line ends at LF, at CR LF or at a lone CR; a
// final line end adds no empty line. A line longer than kMaxRecordLine comes empty. Only
// a regular file of at most kMaxRecordBytes is read (see regularfile.h). Answers why the
// record cannot be read, for a message, or an empty text.
QString ReadRecordLines(const QString& path, const std::function<bool(std::string&& line)>& line);

// The positions of a game record, read for replay.
struct RecordFile {
    std::vector<std::string> positions; // the lines that are positions, in file order
    int skipped = 0;                    // lines that are not
    QString failure;                    // why the record cannot be read; empty when it was
};
RecordFile ReadRecordFile(const QString& path);

// The whole record at `path` as it is, into `bytes`, read as ReadRecordLines reads it.
// Answers why it cannot be read, or an empty text.
QString ReadRecordBytes(const QString& path, QByteArray& bytes);

} // namespace quorin
