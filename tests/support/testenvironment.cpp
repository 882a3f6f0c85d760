#include "testenvironment.h"

namespace quorin::test {
namespace {

class RecordingSound : public MoveSound {
public:
    explicit RecordingSound(std::shared_ptr<Seams> seams) : seams_(std::move(seams)) {}
    void open(const QString& file) override {
        seams_->soundFile = file;
        seams_->soundOpen = true;
    }
    void play() override { ++seams_->soundPlays; }
    void close() override { seams_->soundOpen = false; }

private:
    std::shared_ptr<Seams> seams_;
};

} // namespace

QString AssetsFolder() { return QStringLiteral(QUORIN_TEST_ASSETS); }

TestEnvironment::TestEnvironment(quint16 port) : port_(port) {}

Environment TestEnvironment::environment() const {
    Environment env;
    env.programFolder = folder_.path();
    env.workingFolder = AssetsFolder();
    env.port = port_;
    auto seams = seams_;
    env.showMessage = [seams](QWidget*, const QString& text) { seams->messages.append(text); };
    env.askText = [seams](QWidget*, const QString& prompt) {
        seams->prompts.append(prompt);
        return seams->answers.isEmpty() ? QString() : seams->answers.takeFirst();
    };
    env.makeMoveSound = [seams] { return std::make_unique<RecordingSound>(seams); };
    return env;
}

} // namespace quorin::test
