#include "pgnfile.h"

#include "pgnexport.h"
#include "recordfile.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorin {

PgnText ReadRecordAsPgn(const QString& recordPath) {
    QFile record(recordPath);
    const bool read = record.open(QIODevice::ReadOnly);
    const QByteArray bytes = read ? record.readAll() : QByteArray();
    if (!read || record.error() != QFileDevice::NoError)
        return {{},
                QStringLiteral("棋譜ファイル「%1」を読み込めません。\n%2")
                    .arg(ShownPath(recordPath), record.errorString())};
    PgnTags tags;
    tags.Date =
        QFileInfo(record).lastModified().toString(QStringLiteral("yyyy.MM.dd")).toStdString();
    const auto pgn = ExportPgn(RecordLines(bytes), tags);
    if (!pgn)
        return {
            {},
            QStringLiteral("棋譜ファイル「%1」には局面がありません。").arg(ShownPath(recordPath))};
    return {QByteArray::fromStdString(*pgn), {}};
}

QString PgnFileName(const QString& answer) {
    if (QFileInfo(answer).fileName().contains(QLatin1Char('.')))
        return answer;
    return answer + QStringLiteral(".pgn");
}

QString PgnPrompt() {
    return QStringLiteral("棋譜を PGN ファイルに書き出します。ファイル名を入力してください。\r\n"
                          "(拡張子を略すと .pgn になります。)");
}

QString WritePgnFile(const QString& answer, const QString& currentFolder, const QByteArray& text) {
    const QString path = QDir(currentFolder).filePath(PgnFileName(answer));
    const QString failure = WriteWholeFile(path, text);
    if (failure.isEmpty())
        return {};
    return QStringLiteral("PGN ファイル「%1」に書き込めません。\n%2").arg(ShownPath(path), failure);
}

} // namespace quorin
