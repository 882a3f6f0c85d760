#include "recordfile.h"

#include "regularfile.h"
#include "rules/position.h"

#include <algorithm>

namespace quorin {

namespace {

QString TooLarge() {
    return QStringLiteral("棋譜ファイルとして読み込めるのは %1 MiB までです。")
        .arg(kMaxRecordBytes / (1024 * 1024));
}

} // namespace

QString ReadRecordLines(const QString& path, const std::function<bool(std::string&& line)>& line) {
    std::string current;
    bool overlong = false;     // the current line went past kMaxRecordLine
    bool afterCr = false;      // the last byte was a CR, whose LF belongs to it
    bool stopped = false;      // `line` wanted no more
    const auto endLine = [&] { // hands on the current line; answers whether to go on
        const bool more = line(overlong ? std::string() : std::move(current));
        current.clear();
        overlong = false;
        stopped = !more;
        return more;
    };
    const QString failure =
        ReadRegularFile(path, kMaxRecordBytes, TooLarge(), [&](QByteArrayView piece) {
            const char* at = piece.begin();
            while (at != piece.end()) {
                if (afterCr && *at == '\n')
                    ++at;
                afterCr = false;
                const char* end =
                    std::find_if(at, piece.end(), [](char c) { return c == '\r' || c == '\n'; });
                const std::size_t room = kMaxRecordLine - current.size();
                const std::size_t length = std::size_t(end - at);
                current.append(at, std::min(length, room));
                overlong = overlong || length > room;
                if (end == piece.end())
                    break;
                afterCr = *end == '\r';
                at = end + 1;
                if (!endLine())
                    return false;
            }
            return true;
        });
    if (failure.isEmpty() && !stopped && (!current.empty() || overlong))
        endLine();
    return failure;
}

RecordFile ReadRecordFile(const QString& path) {
    RecordFile record;
    record.failure = ReadRecordLines(path, [&record](std::string&& line) {
        if (ReadPosition(line))
            record.positions.push_back(std::move(line));
        else
            ++record.skipped;
        return true;
    });
    return record;
}

QString ReadRecordBytes(const QString& path, QByteArray& bytes) {
    bytes.clear();
    return ReadRegularFile(path, kMaxRecordBytes, TooLarge(), [&bytes](QByteArrayView piece) {
        bytes.append(piece);
        return true;
    });
}

} // namespace quorin
