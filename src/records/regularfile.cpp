#include "regularfile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorin {

namespace {

// How much is read at a time: small beside any cap, large enough that a record of the
// largest size takes a few hundred reads.
constexpr qint64 kPieceBytes = 64 * 1024;
// Read straight into the caller's pieces, without a buffer of the file's own.
constexpr QIODevice::OpenMode kMode = QIODevice::ReadOnly | QIODevice::Unbuffered;

// Opens `file` for reading, or answers why not.
QString Open(QFile& file) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        return NotRegularFile();
#ifdef Q_OS_UNIX
    // Opening a pipe without a writer waits for one; without waiting the open returns at
    // once, and the opened entry is checked for what it is.
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? NotRegularFile() : qt_error_string(errno);
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return NotRegularFile();
    }
    // A regular file never makes a read wait, so the descriptor is read as it was opened.
    if (!file.open(fd, kMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
#else
    if (!file.open(kMode))
        return file.errorString();
#endif
    return {};
}

} // namespace

QString NotRegularFile() {
    return QStringLiteral("通常のファイルではありません。");
}

bool NotRegularThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

QString ReadRegularFile(const QString& path, qint64 maxBytes, const QString& tooLarge,
                        const std::function<bool(QByteArrayView piece)>& piece) {
    QFile file(path);
    if (const QString failure = Open(file); !failure.isEmpty())
        return failure;
    if (file.size() > maxBytes)
        return tooLarge;
    QByteArray buffer(kPieceBytes, Qt::Uninitialized);
    for (qint64 total = 0;;) {
        const qint64 got = file.read(buffer.data(), kPieceBytes);
        if (got < 0)
            return file.errorString();
        if (got == 0)
            return {};
        total += got;
        if (total > maxBytes)
            return tooLarge;
        if (!piece(QByteArrayView(buffer.constData(), got)))
            return {};
    }
}

} // namespace quorin
