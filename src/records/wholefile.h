#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace quorin {

// A file's path as the player is shown it, in the platform's own separators.
QString ShownPath(const QString& path);

// Asks the player `question` with the buttons Yes and No; answers whether it was Yes.
using AskYesNo = std::function<bool(const QString& question)>;

// Whether a file may be written at `path` under a name the player gave: yes when nothing
// is there; when something is (a file, a link, even a dangling one, or any other entry),
// `ask` asks the player whether to replace it, naming the path. Without `ask` it is
// replaced.
bool MayReplace(const QString& path, const AskYesNo& ask);

// Writes `bytes` as the whole file at `path`, through a temporary file beside it that
// takes the file's place only once it is complete: a write that fails leaves an older
// file of that name as it was. Answers why it failed, or an empty text.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace quorin
