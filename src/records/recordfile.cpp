#include "recordfile.h"

#include "rules/position.h"

namespace quorin {

std::vector<std::string> RecordLines(const QByteArray& bytes) {
    std::vector<std::string> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        lines.emplace_back(bytes.constData() + start, std::size_t(i - start));
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.constData() + start, std::size_t(bytes.size() - start));
    return lines;
}

RecordFile ReadRecordFile(const QByteArray& bytes) {
    RecordFile record;
    for (std::string& line : RecordLines(bytes)) {
        if (ReadPosition(line))
            record.positions.push_back(std::move(line));
        else
            ++record.skipped;
    }
    return record;
}

} // namespace quorin
