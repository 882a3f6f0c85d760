#pragma once

#include "app/environment.h"

#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace quorin::test {

// What a copy of the program did through its seams: the message boxes it showed, the
// questions it asked, the move sounds it played.
struct Seams {
    QStringList messages;
    QStringList prompts;
    QStringList answers; // given to the input box in order; empty when used up
    QString soundFile;   // the file the move sound was opened with
    int soundPlays = 0;
    bool soundOpen = false;
    // Called as each box opens (with its text) and as each sound plays (with an empty
    // text), for a test that looks at what the program had done by then.
    std::function<void(const QString& message)> observe;
};

// An environment for one copy in a test: every folder of its own in a fresh temporary
// folder, the working folder holding a copy of the pictures and the sound (the other
// folders are made only by what uses them), and recorders in place of the boxes and the
// sound. With `realBoxes` the message boxes are recorded and also shown as the program
// shows them.
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
