#include "gamerecord.h"

#include "recordfile.h"
#include "regularfile.h"
#include "savename.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorin {

namespace {

QString CannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("棋譜ファイル「%1」に書き込めません。\n%2").arg(ShownPath(path), reason);
}

} // namespace

GameRecord::GameRecord(QString folder) : folder_(std::move(folder)) {}

QString GameRecord::path() const {
    return QDir(folder_).filePath(QString::fromLatin1(kFileName));
}

QString GameRecord::SwitchOn() {
    recordAll_ = true;
    QDir().mkpath(folder_);
    QFile file(path());
    if (NotRegularThere(file.fileName()))
        return CannotWrite(file.fileName(), NotRegularFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return CannotWrite(file.fileName(), file.errorString());
    return {};
}

QString GameRecord::AppendRecord(const QString& name, const QByteArray& line) {
    QDir().mkpath(folder_);
    QFile file(QDir(folder_).filePath(name));
    // A pipe in the record's place would hold the game at the next move.
    if (NotRegularThere(file.fileName()))
        return CannotWrite(file.fileName(), NotRegularFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return CannotWrite(file.fileName(), file.errorString());
    const QByteArray bytes = line + "\r\n";
    // Closing keeps no error of an earlier write, so the write is checked and flushed here.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return CannotWrite(file.fileName(), file.errorString());
    return {};
}

QString GameRecord::Record(const QByteArray& line) {
    if (!recordAll_)
        return {};
    return AppendRecord(QString::fromLatin1(kFileName), line);
}

QString GameRecord::SaveAs(const QString& answer, const QString& baseFolder,
                           const AskYesNo& ask) const {
    if (answer.isEmpty())
        return {};
    const QString running = path();
    if (!QFileInfo(running).exists())
        return QStringLiteral("保存する棋譜がまだありません。"
                              "「全手保存」で記録を始めてから保存してください。\n"
                              "(棋譜ファイル「%1」がありません。)")
            .arg(ShownPath(running));
    QByteArray bytes;
    if (const QString failure = ReadRecordBytes(running, bytes); !failure.isEmpty())
        return QStringLiteral("棋譜ファイル「%1」を読み込めません。\n%2")
            .arg(ShownPath(running), failure);

    // A failed copy leaves an older file of that name untouched, and so does a no.
    const QString copy = QDir(baseFolder).filePath(SaveAsName(answer));
    if (!MayReplace(copy, ask))
        return {};
    const QString failure = WriteWholeFile(copy, bytes);
    if (failure.isEmpty())
        return {};
    return QStringLiteral("棋譜を「%1」に保存できません。\n%2").arg(ShownPath(copy), failure);
}

} // namespace quorin
