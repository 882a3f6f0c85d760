#include "wholefile.h"

#include <QDir>
#include <QSaveFile>

namespace quorin {

QString ShownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace quorin
