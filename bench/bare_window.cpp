// The anchor of the start-up benchmark: a minimal Qt Widgets window, linked with Qt Widgets alone. It reports
// the time since the moment given on its command line and its page faults once its first frame is drawn, then
// leaves.
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
    // The clock stops when the event loop is back after the first frame, as it does for the program measured.
    void paintEvent(QPaintEvent* e) override
    {
        QLabel::paintEvent(e);
        if (m_seen)
            return;
        m_seen = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                timespec t{};
                clock_gettime(CLOCK_MONOTONIC, &t);
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("%lld %ld\n", ((long long)t.tv_sec * 1'000'000'000 + t.tv_nsec - m_spawnedNs) / 1000,
                            usage.ru_minflt + usage.ru_majflt);
                std::fflush(stdout);
                _exit(0);
            },
            Qt::QueuedConnection);
    }

private:
    long long m_spawnedNs;
    bool m_seen = false;
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
