#include "pgnfile.h"

#include "pgnexport.h"
#include "recordfile.h"
#include "rules/position.h"
#include "wholefile.h"

#include <QDir>
#include <QFileInfo>

namespace quorin {

PgnText ReadRecordAsPgn(const QString& recordPath) {
    // Only what the export reads is kept: the lines from the first position on, up to the
    // first one after it that is no position and so ends the game; those before are counted.
    std::vector<std::string> lines;
    std::size_t before = 0;
    const QString failure = ReadRecordLines(recordPath, [&](std::string&& line) {
        const bool position = ReadPosition(line).has_value();
        if (lines.empty() && !position) {
            ++before;
            return true;
        }
        lines.push_back(position ? std::move(line) : std::string());
        return position;
    });
    if (!failure.isEmpty())
        return {{},
                QStringLiteral("棋譜ファイル「%1」を読み込めません。\n%2")
                    .arg(ShownPath(recordPath), failure)};
    PgnTags tags;
    tags.Date =
        QFileInfo(recordPath).lastModified().toString(QStringLiteral("yyyy.MM.dd")).toStdString();
    const auto pgn = ExportPgn(lines, tags, before);
    if (!pgn)
        return {
            {},
            QStringLiteral("棋譜ファイル「%1」には局面がありません。").arg(ShownPath(recordPath))};
    return {QByteArray::fromStdString(*pgn), {}};
}

QString PgnFileName(const QString& answer) {
    if (answer.endsWith(QStringLiteral(".pgn")))
        return answer;
    return answer + QStringLiteral(".pgn");
}

QString PgnPrompt() {
    return QStringLiteral("棋譜を PGN ファイルに書き出します。ファイル名を入力してください。\r\n"
                          "(拡張子を略すと .pgn になります。)");
}

QString WritePgnFile(const QString& answer, const QString& currentFolder, const QByteArray& text,
                     const AskYesNo& ask) {
    const QString path = QDir(currentFolder).filePath(PgnFileName(answer));
    if (!MayReplace(path, ask))
        return {};
    const QString failure = WriteWholeFile(path, text);
    if (failure.isEmpty())
        return {};
    return QStringLiteral("PGN ファイル「%1」に書き込めません。\n%2").arg(ShownPath(path), failure);
}

} // namespace quorin
