// One start-up for the start-up benchmark: the program's main window, or as the yardstick
// a bare window holding one label, shown until its first paint has ended. Then it prints
// one line and exits at once, without tearing anything down:
//
//   main_ns=<N> painted_ns=<N> rss_kib=<N> hwm_kib=<N>
//
// main_ns and painted_ns are readings of the monotonic clock, the one every process shares,
// at the entry of main and at the end of the first paint; rss_kib and hwm_kib are the
// resident memory and its peak at that moment.
//
// Modes:
//   quorin         the main window as the program starts it: the default environment
//                  (pictures, sound and address list from the probe's own folder, where
//                  the build puts them) and the real move sound
//   quorin-silent  the same with a move sound that does nothing, to tell the sound's share
//   bare           a QWidget window with one QLabel
//
// The file is built twice: quorin_startup_probe, linked with the program, knows every
// mode; bare_startup_probe, linked with Qt Widgets alone (QUORIN_PROBE_BARE_ONLY), knows
// only "bare" and so loads no more libraries than any Qt window needs. "bare" run by the
// first tells what loading the program's libraries costs by itself.
//
// A second argument "libs" adds, on standard error, the resident memory of every mapped
// file, largest first, to see where the memory goes.

#ifndef QUORIN_PROBE_BARE_ONLY
#include "app/form1.h"
#include "board/boardwidget.h"
#endif

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

long long MonotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A "Key:   1234 kB" line of a /proc status file, in KiB; -1 when absent.
long long StatusKib(const QByteArray& status, const QByteArray& key) {
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QByteArray ReadProcFile(const char* path) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Resident KiB per mapped file (anonymous memory under "[anon]"), from /proc/self/smaps.
void PrintMappedFiles() {
    std::map<std::string, long long> rss;
    std::string current;
    for (const QByteArray& line : ReadProcFile("/proc/self/smaps").split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !fields[0].endsWith(':'))
            current = fields.size() >= 6 ? fields[5].toStdString() : "[anon]";
        else if (fields.size() >= 2 && fields[0] == "Rss:")
            rss[current] += fields[1].toLongLong();
    }
    std::vector<std::pair<long long, std::string>> sorted;
    for (const auto& [name, kib] : rss)
        sorted.emplace_back(kib, name);
    std::sort(sorted.rbegin(), sorted.rend());
    for (const auto& [kib, name] : sorted)
        std::fprintf(stderr, "%8lld KiB  %s\n", kib, name.c_str());
}

#ifndef QUORIN_PROBE_BARE_ONLY
class SilentSound : public quorin::MoveSound {
public:
    void open(const QString&) override {}
    void play() override {}
    void close() override {}
};
#endif

// Reports and ends the process once the first paint of the watched widget is over.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& widget, long long mainNs, bool listFiles)
        : mainNs_(mainNs), listFiles_(listFiles) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Queued: runs after this paint and the rest of the window's paint are done.
            QMetaObject::invokeMethod(
                this, [this] { Report(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void Report() const {
        const long long paintedNs = MonotonicNs();
        const QByteArray status = ReadProcFile("/proc/self/status");
        std::printf("main_ns=%lld painted_ns=%lld rss_kib=%lld hwm_kib=%lld\n", mainNs_, paintedNs,
                    StatusKib(status, "VmRSS"), StatusKib(status, "VmHWM"));
        std::fflush(stdout);
        if (listFiles_)
            PrintMappedFiles();
        std::fflush(stderr);
        std::_Exit(EXIT_SUCCESS);
    }

    long long mainNs_;
    bool listFiles_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    const long long mainNs = MonotonicNs();
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool listFiles = argc > 2 && std::string(argv[2]) == "libs";
#ifdef QUORIN_PROBE_BARE_ONLY
    const bool known = mode == "bare";
#else
    const bool known = mode == "quorin" || mode == "quorin-silent" || mode == "bare";
#endif
    if (!known) {
        std::fprintf(stderr, "usage: %s <mode> [libs]\n", argv[0]);
        return 2;
    }
    // Another platform may be chosen from outside, e.g. to compare with a real display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::unique_ptr<QWidget> window;
    QWidget* watched = nullptr;
    if (mode == "bare") {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        watched = new QLabel(QStringLiteral("Quorin"));
        layout->addWidget(watched);
    }
#ifndef QUORIN_PROBE_BARE_ONLY
    else {
        // The program finds its pictures and sound in the folder it is started in; the
        // probe lies beside them.
        QDir::setCurrent(QCoreApplication::applicationDirPath());
        quorin::Environment env = quorin::Environment::Default();
        if (mode == "quorin-silent")
            env.makeMoveSound = [] { return std::make_unique<SilentSound>(); };
        auto form = std::make_unique<quorin::Form1>(std::move(env));
        watched = &form->boardWidget();
        window = std::move(form);
    }
#endif
    FirstPaintWatch watch(*watched, mainNs, listFiles);
    window->show();
    return app.exec();
}
