// Start-up to the main window's first complete frame, the splash wait left out through the program's own option,
// against a minimal Qt Widgets window. Every sample is a fresh process (library loading and page faults count);
// the two kinds alternate so both see the same load on the machine.
//   startup_bench [samples]   (QT_QPA_PLATFORM may name a real platform; offscreen otherwise)
#include "app/Program.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

long long nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1'000'000'000 + t.tv_nsec;
}

// Reports once the named window's first frame is complete, then leaves at once: shutdown is not part of
// start-up. The first paint event a window gets is its own, before any of its children is drawn, so the
// report waits for the event loop to come back: by then every widget of that frame has been painted. The
// anchor stops its clock the same way.
class FirstPaint : public QObject
{
public:
    FirstPaint(const char* window, long long spawnedNs) : m_window(window), m_spawnedNs(spawnedNs) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (!m_seen && e->type() == QEvent::Paint && o->isWidgetType()) {
            QWidget* w = static_cast<QWidget*>(o)->window();
            if (w->objectName() == QLatin1String(m_window)) {
                m_seen = true;
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        rusage usage{};
                        getrusage(RUSAGE_SELF, &usage);
                        std::printf("%lld %ld\n", (nowNs() - m_spawnedNs) / 1000, usage.ru_minflt + usage.ru_majflt);
                        std::fflush(stdout);
                        _exit(0);
                    },
                    Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    const char* m_window;
    long long m_spawnedNs;
    bool m_seen = false;
};

int child(long long spawnedNs, int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstPaint watch("frmMain", spawnedNs);
    app.installEventFilter(&watch);
    return runProgram(app, ProgramOptions{.splashMilliseconds = 0});
}

struct Sample
{
    double ms;
    long faults;
};

// Runs our program (through this executable) or the anchor, and reads what it reports.
Sample run(const char* self, bool ours)
{
    const char* kind = ours ? "varnolt" : "minimal window";
    const char* program = ours ? self : BARE_WINDOW;
    const std::string spawned = std::to_string(nowNs());
    int out[2];
    if (pipe(out) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* ourArgs[] = {const_cast<char*>(self), const_cast<char*>("--child"), const_cast<char*>(spawned.c_str()),
                       nullptr};
    char* bareArgs[] = {const_cast<char*>(program), const_cast<char*>(spawned.c_str()), nullptr};
    pid_t pid = 0;
    posix_spawn(&pid, program, &actions, nullptr, ours ? ourArgs : bareArgs, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[128] = {};
    const ssize_t n = read(out[0], buffer, sizeof buffer - 1);
    close(out[0]);
    waitpid(pid, nullptr, 0);
    long long us = 0;
    long faults = 0;
    if (n <= 0 || std::sscanf(buffer, "%lld %ld", &us, &faults) != 2) {
        std::fprintf(stderr, "%s: no report\n", kind);
        std::exit(1);
    }
    return {us / 1000.0, faults};
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return child(std::atoll(argv[2]), argc, argv);

    const int samples = argc > 1 ? std::atoi(argv[1]) : 15;
    // A fresh settings folder and no real screen, so nothing of the user's is read or shown.
    QTemporaryDir settings;
    setenv("APPDATA", settings.path().toLocal8Bit().constData(), 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> oursMs, bareMs;
    std::vector<long> oursFaults, bareFaults;
    run(argv[0], true); // warm the page cache for both
    run(argv[0], false);
    for (int i = 0; i < samples; ++i) {
        const Sample ours = run(argv[0], true);
        const Sample bare = run(argv[0], false);
        oursMs.push_back(ours.ms);
        oursFaults.push_back(ours.faults);
        bareMs.push_back(bare.ms);
        bareFaults.push_back(bare.faults);
    }
    const double o = median(oursMs), b = median(bareMs);
    std::printf("start-up to the main window's first frame, median of %d, interleaved\n", samples);
    std::printf("  varnolt        %7.1f ms  %6ld page faults\n", o, median(oursFaults));
    std::printf("  minimal window %7.1f ms  %6ld page faults\n", b, median(bareFaults));
    std::printf("  ratio          %7.2f      %6.2f\n", o / b, double(median(oursFaults)) / double(median(bareFaults)));
    // On a shared machine the fastest sample of each is the one other work disturbed least.
    const double oFast = *std::min_element(oursMs.begin(), oursMs.end());
    const double bFast = *std::min_element(bareMs.begin(), bareMs.end());
    std::printf("  fastest        %7.1f ms / %.1f ms, ratio %.2f\n", oFast, bFast, oFast / bFast);
    return 0;
}
