#include "recordfile.h"

#include "rules/position.h"

namespace quorin {

RecordFile ReadRecordFile(const QByteArray& bytes) {
    RecordFile record;
    const auto take = [&](qsizetype from, qsizetype to) {
        std::string line(bytes.constData() + from, std::size_t(to - from));
        if (ReadPosition(line))
            record.positions.push_back(std::move(line));
        else
            ++record.skipped;
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        take(start, i);
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        take(start, bytes.size());
    return record;
}

} // namespace quorin
