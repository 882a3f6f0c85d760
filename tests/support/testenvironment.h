#pragma once

#include "app/environment.h"

#include <QStringList>
#include <QTemporaryDir>

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
};

// An environment for one copy in a test: its own program folder (a fresh temporary
// folder), the repository's pictures and sound as its working folder, and recorders in
// place of the boxes and the sound.
class TestEnvironment {
public:
    explicit TestEnvironment(quint16 port = 0);

    Environment environment() const;
    QString programFolder() const { return folder_.path(); }
    Seams& seams() { return *seams_; }

private:
    QTemporaryDir folder_;
    std::shared_ptr<Seams> seams_ = std::make_shared<Seams>();
    quint16 port_;
};

// The folder holding the program's pictures, sound and default address list.
QString AssetsFolder();

} // namespace quorin::test
