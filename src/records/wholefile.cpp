#include "wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace quorin {

QString ShownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool MayReplace(const QString& path, const AskYesNo& ask) {
    const QFileInfo there(path);
    if (!ask || (!there.exists() && !there.isSymLink()))
        return true;
    return ask(QStringLiteral("同じ名前のファイルがすでにあります。置き換えますか？\n%1")
                   .arg(ShownPath(path)));
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace quorin
