// Start-up to the first painted board, and resident memory after start-up, of the main
// window against a bare Qt window holding one label. Each start is a fresh process of a
// start-up probe (quorin_startup_probe or bare_startup_probe, found beside this program),
// timed from its spawn to its exit; the probe exits right after its first paint and
// reports its resident memory then.
//
//   startup_bench [runs]   runs per mode, 20 unless given
//
// The modes take turns, after one warm-up start each, so that a slow spell of the machine
// falls on all of them alike. Printed: per mode the medians of the wall time, of its part
// before main (loading and linking the libraries) and of its part from main to the end of
// the first paint, of the CPU time and minor page faults (less disturbed than the wall
// time by other work on the machine), and of the resident memory; then the ratios
// against the bare window.
// The goals: start-up at most 1.5 times, memory at most 1.5 times the bare window's.

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 20;
constexpr int kTimeoutMs = 30000;

// What is started, under the name printed. The bare window runs in a program of its own
// that loads Qt Widgets alone; run by the program's probe it shows what loading the
// program's libraries costs by itself. quorin-silent is the main window with a move sound
// that does nothing: its difference to quorin is what the sound costs at start-up.
struct Mode {
    std::string name;
    QString program;
    QString argument;
};

const Mode kModes[] = {
    {"quorin", QStringLiteral("quorin_startup_probe"), QStringLiteral("quorin")},
    {"quorin-silent", QStringLiteral("quorin_startup_probe"), QStringLiteral("quorin-silent")},
    {"bare+libs", QStringLiteral("quorin_startup_probe"), QStringLiteral("bare")},
    {"bare", QStringLiteral("bare_startup_probe"), QStringLiteral("bare")},
};

long long MonotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Start {
    double wallMs = 0;
    double cpuMs = 0;
    double minorFaults = 0;
    double beforeMainMs = 0;
    double mainToPaintMs = 0;
    double rssKib = 0;
    double hwmKib = 0;
};

// The value of "key=<number>" in the probe's line, if there.
std::optional<long long> Field(const QByteArray& line, const QByteArray& key) {
    for (const QByteArray& item : line.simplified().split(' ')) {
        if (item.startsWith(key + '=')) {
            bool ok = false;
            const long long value = item.mid(key.size() + 1).toLongLong(&ok);
            if (ok)
                return value;
        }
    }
    return std::nullopt;
}

// What the children waited for so far used: CPU time in ms and minor page faults.
std::pair<double, double> ChildrenUsage() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), double(usage.ru_minflt)};
}

// Starts the probe in its own folder, where the program's pictures and sound lie.
std::optional<Start> RunProbe(const QDir& folder, const Mode& mode) {
    const auto [cpuBefore, faultsBefore] = ChildrenUsage();
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const long long spawnNs = MonotonicNs();
    process.start(folder.filePath(mode.program), {mode.argument});
    if (!process.waitForFinished(kTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s: the probe failed: %s\n", mode.name.c_str(),
                     qPrintable(process.errorString()));
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    const long long exitNs = MonotonicNs();
    const QByteArray line = process.readAllStandardOutput();
    const auto mainNs = Field(line, "main_ns");
    const auto paintedNs = Field(line, "painted_ns");
    const auto rss = Field(line, "rss_kib");
    const auto hwm = Field(line, "hwm_kib");
    if (!mainNs || !paintedNs || !rss || !hwm) {
        std::fprintf(stderr, "%s: unreadable probe output: %s\n", mode.name.c_str(),
                     line.constData());
        return std::nullopt;
    }
    const auto [cpuAfter, faultsAfter] = ChildrenUsage();
    Start start;
    start.wallMs = double(exitNs - spawnNs) / 1e6;
    start.cpuMs = cpuAfter - cpuBefore;
    start.minorFaults = faultsAfter - faultsBefore;
    start.beforeMainMs = double(*mainNs - spawnNs) / 1e6;
    start.mainToPaintMs = double(*paintedNs - *mainNs) / 1e6;
    start.rssKib = double(*rss);
    start.hwmKib = double(*hwm);
    return start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Member> double MedianOf(const std::vector<Start>& starts, Member member) {
    std::vector<double> values;
    for (const Start& s : starts)
        values.push_back(s.*member);
    return Median(values);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    const QDir folder(QCoreApplication::applicationDirPath());

    for (const Mode& mode : kModes) {
        if (!RunProbe(folder, mode))
            return 1;
    }
    std::map<std::string, std::vector<Start>> starts;
    for (int i = 0; i < runs; ++i) {
        for (const Mode& mode : kModes) {
            const auto start = RunProbe(folder, mode);
            if (!start)
                return 1;
            starts[mode.name].push_back(*start);
        }
    }

    std::printf("%-14s %8s %12s %14s %8s %8s %9s %9s\n", "median of", "wall ms", "before main",
                "main to paint", "cpu ms", "faults", "rss KiB", "peak KiB");
    for (const Mode& mode : kModes) {
        const std::vector<Start>& s = starts[mode.name];
        std::printf("%-14s %8.1f %12.1f %14.1f %8.1f %8.0f %9.0f %9.0f\n", mode.name.c_str(),
                    MedianOf(s, &Start::wallMs), MedianOf(s, &Start::beforeMainMs),
                    MedianOf(s, &Start::mainToPaintMs), MedianOf(s, &Start::cpuMs),
                    MedianOf(s, &Start::minorFaults), MedianOf(s, &Start::rssKib),
                    MedianOf(s, &Start::hwmKib));
    }
    const double bareWall = MedianOf(starts["bare"], &Start::wallMs);
    const double bareRss = MedianOf(starts["bare"], &Start::rssKib);
    std::printf("start-up: quorin / bare = %.2f\n",
                MedianOf(starts["quorin"], &Start::wallMs) / bareWall);
    std::printf("resident memory: quorin / bare = %.2f\n",
                MedianOf(starts["quorin"], &Start::rssKib) / bareRss);
    std::printf("cpu time: quorin / bare = %.2f\n", MedianOf(starts["quorin"], &Start::cpuMs) /
                                                        MedianOf(starts["bare"], &Start::cpuMs));
    for (const char* mode : {"quorin-silent", "bare+libs"}) {
        std::printf("%s / bare: start-up %.2f, resident memory %.2f\n", mode,
                    MedianOf(starts[mode], &Start::wallMs) / bareWall,
                    MedianOf(starts[mode], &Start::rssKib) / bareRss);
    }
    return 0;
}
