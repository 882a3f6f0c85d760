#pragma once

#include <QByteArray>

#include <string>
#include <vector>

namespace quorin {

// The positions of a game record, read for replay.
struct RecordFile {
    std::vector<std::string> positions; // the lines that are positions, in file order
    int skipped = 0;                    // lines that are not
};

// Splits a record into its lines: a line ends at CR LF or at a lone CR, and a final line
// end adds no empty line.
std::vector<std::string> RecordLines(const QByteArray& bytes);

// The lines of a record that are valid positions. Records of any length are read whole.
RecordFile ReadRecordFile(const QByteArray& bytes);

} // namespace quorin
