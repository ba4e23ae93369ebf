// The anchor of the start-up benchmark: a minimal Qt Widgets window, linked with Qt Widgets alone. It reports
// the time since the moment given on its command line and its page faults at its first paint, then leaves.
#include <QApplication>
#include <QLabel>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class FirstPaint : public QLabel
{
public:
    FirstPaint(long long spawnedNs) : QLabel(QStringLiteral("A minimal window")), m_spawnedNs(spawnedNs) {}

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QLabel::paintEvent(e);
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%lld %ld\n", ((long long)t.tv_sec * 1'000'000'000 + t.tv_nsec - m_spawnedNs) / 1000,
                    usage.ru_minflt + usage.ru_majflt);
        std::fflush(stdout);
        _exit(0);
    }

private:
    long long m_spawnedNs;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstPaint window(argc > 1 ? std::atoll(argv[1]) : 0);
    window.resize(500, 520);
    window.show();
    return app.exec();
}
