#include "pgnfile.h"

#include "pgnexport.h"
#include "recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quorin {

namespace {

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

PgnText ReadRecordAsPgn(const QString& recordPath) {
    QFile record(recordPath);
    const bool read = record.open(QIODevice::ReadOnly);
    const QByteArray bytes = read ? record.readAll() : QByteArray();
    if (!read || record.error() != QFileDevice::NoError)
        return {{},
                QStringLiteral("棋譜ファイル「%1」を読み込めません。\n%2")
                    .arg(Shown(recordPath), record.errorString())};
    PgnTags tags;
    tags.Date =
        QFileInfo(record).lastModified().toString(QStringLiteral("yyyy.MM.dd")).toStdString();
    const auto pgn = ExportPgn(RecordLines(bytes), tags);
    if (!pgn)
        return {{},
                QStringLiteral("棋譜ファイル「%1」には局面がありません。").arg(Shown(recordPath))};
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
    // Written to a temporary file beside the target, which it replaces only when complete.
    QSaveFile file(QDir(currentFolder).filePath(PgnFileName(answer)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return QStringLiteral("PGN ファイル「%1」に書き込めません。\n%2")
            .arg(Shown(file.fileName()), file.errorString());
    return {};
}

} // namespace quorin
