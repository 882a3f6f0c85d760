#include "testenvironment.h"

#include "fakerouter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QThread>

namespace quorin::test {
namespace {

class RecordingSound : public MoveSound {
public:
    explicit RecordingSound(std::shared_ptr<Seams> seams) : seams_(std::move(seams)) {}
    void open(const QString&) override { seams_->soundOpen = true; }
    void play() override {
        if (seams_->observe)
            seams_->observe(QString());
    }
    void close() override { seams_->soundOpen = false; }

private:
    std::shared_ptr<Seams> seams_;
};

} // namespace

QString AssetsFolder() {
    return QStringLiteral(QUORIN_TEST_ASSETS);
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

TestEnvironment::TestEnvironment(quint16 port, bool realBoxes)
    : port_(port), realBoxes_(realBoxes) {
    const QDir assets(AssetsFolder());
    QDir().mkpath(programFolder());
    QDir().mkpath(workingFolder());
    for (const QString& name : assets.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.wav")}))
        QFile::copy(assets.filePath(name), QDir(workingFolder()).filePath(name));
}

Environment TestEnvironment::environment() const {
    Environment env;
    env.programFolder = programFolder();
    env.workingFolder = workingFolder();
    env.dataFolder = folder("share");
    env.libraryFolder = folder("lib");
    env.userConfigFolder = folder("config");
    env.userDataFolder = folder("data");
    env.port = port_;
    auto seams = seams_;
    auto box = realBoxes_ ? Environment::Default().showMessage : nullptr;
    env.showMessage = [seams, box](QWidget* parent, const QString& text) -> QWidget* {
        seams->messages.append(text);
        if (seams->observe)
            seams->observe(text);
        return box ? box(parent, text) : nullptr;
    };
    env.askText = [seams](QWidget*, const QString&) {
        return seams->answers.isEmpty() ? QString() : seams->answers.takeFirst();
    };
    env.askYesNo = [seams](QWidget*, const QString& question) {
        seams->questions.append(question);
        return !seams->yesNo.isEmpty() && seams->yesNo.takeFirst();
    };
    env.makeMoveSound = [seams] { return std::make_unique<RecordingSound>(seams); };
    // No router, unless a test brings one; its leases are short, to see them renewed.
    env.makeRouter = [] { return std::make_unique<FakeRouter>(); };
    env.routerLeaseSeconds = 2;
    return env;
}

} // namespace quorin::test
