#pragma once

#include "app/environment.h"

#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>

// How a test failure shows a text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace quorin::test {

// What a copy of the program did through its seams: the message boxes it showed, the
// answers its input boxes give, the yes-or-no questions it asked and their answers,
// whether its move sound is open.
struct Seams {
    QStringList messages;
    QStringList answers; // given to the input box in order; empty when used up
    QStringList questions;
    QList<bool> yesNo; // given to the questions in order; No when used up
    bool soundOpen = false;
    // Called as each box opens (with its text) and as each sound plays (with an empty text).
    std::function<void(const QString& message)> observe;
};

// An environment for one copy in a test: every folder of its own in a fresh temporary
// folder, the working folder holding a copy of the pictures and the sound (the other
// folders are made only by what uses them), and recorders in place of the boxes and the
// sound. With `realBoxes` the message boxes are also shown as the program shows them.
class TestEnvironment {
public:
    explicit TestEnvironment(quint16 port = 0, bool realBoxes = false);

    Environment environment() const;
    QString programFolder() const { return folder_.filePath(QStringLiteral("program")); }
    QString workingFolder() const { return folder_.filePath(QStringLiteral("work")); }
    QString folder(const char* name) const { return folder_.filePath(QLatin1String(name)); }
    Seams& seams() { return *seams_; }

private:
    QTemporaryDir folder_;
    std::shared_ptr<Seams> seams_ = std::make_shared<Seams>();
    quint16 port_;
    bool realBoxes_;
};

// The folder holding the program's pictures, sound and default address list.
QString AssetsFolder();

// A TCP port nobody listens on at the moment.
quint16 FreePort();

// Lets the event loop run until `condition` holds or `timeoutMs` has passed; answers
// whether it holds.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

} // namespace quorin::test
