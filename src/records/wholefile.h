#pragma once

#include <QByteArray>
#include <QString>

namespace quorin {

// A file's path as the player is shown it, in the platform's own separators.
QString ShownPath(const QString& path);

// Writes `bytes` as the whole file at `path`, through a temporary file beside it that
// takes the file's place only once it is complete: a write that fails leaves an older
// file of that name as it was. Answers why it failed, or an empty text.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace quorin
