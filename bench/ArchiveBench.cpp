// Archive export and extraction against gzip and gunzip of the same bytes, run interleaved so both see the
// same machine: wall and processor time medians, peak memory, and the ratio of each pair. On a shared machine
// the wall time also counts the waits for a free core; the processor time does not. A plain program, no timing
// assertions; `varnolt_archive_bench [rounds]`.
#include "exchange/ArchiveCodec.h"
#include "exchange/PanelArchive.h"
#include "platform/LocalFileSystem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <zlib.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr qsizetype kTotal = 50 * 1024 * 1024;

QByteArray textFile(QRandomGenerator& rng, qsizetype size)
{
    static const char* words[] = {"[Config]", "PanelName", "Monitor",   "Left", "Top", "Width", "Height", "Scale",
                                  "ADI",      "HSI",       "Altimeter", "=",    "1",   "0",     "App",    ";"};
    QByteArray out;
    while (out.size() < size) {
        for (int w = 0; w < 6; ++w)
            out += words[rng.bounded(int(std::size(words)))] + QByteArray::number(rng.bounded(2000));
        out += "\r\n";
    }
    out.truncate(size);
    return out;
}

QByteArray imageFile(QRandomGenerator& rng, qsizetype size)
{
    // Smooth gradients with a little noise, like a background picture stored uncompressed.
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char((i / 3 % 1024) / 4 + (i % 3) * 40 + rng.bounded(4));
    return out;
}

QByteArray randomFile(QRandomGenerator& rng, qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    rng.fillRange(reinterpret_cast<quint32*>(out.data()), size / 4);
    return out;
}

// A panel folder and, beside it, all its bytes in one file for gzip.
struct Folder
{
    QString folder, concatenated;
    qint64 bytes = 0, largest = 0;

    Folder(const QString& root, const QString& name, bool onePicture)
    {
        folder = root + u'/' + name;
        concatenated = folder + QStringLiteral(".all");
        QDir().mkpath(folder);
        QFile all(concatenated);
        all.open(QIODevice::WriteOnly);
        QRandomGenerator rng(50);
        for (int i = 0; bytes < kTotal; ++i) {
            const int kind = i % 5; // text, text, picture, picture, already compressed
            qsizetype size = kind < 2 ? rng.bounded(1000, 400000) : rng.bounded(200000, 3000000);
            if (onePicture)
                size = i == 0 ? kTotal * 9 / 10 : rng.bounded(1000, 100000);
            size = std::min<qsizetype>(kTotal - bytes, size);
            const QByteArray content = onePicture ? (i == 0 ? imageFile(rng, size) : textFile(rng, size))
                                       : kind < 2 ? textFile(rng, size)
                                       : kind < 4 ? imageFile(rng, size)
                                                  : randomFile(rng, size);
            QFile f(folder + QStringLiteral("/file%1.dat").arg(i));
            f.open(QIODevice::WriteOnly);
            f.write(content);
            all.write(content);
            bytes += size;
            largest = std::max<qint64>(largest, size);
        }
    }
};

struct Run
{
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of the process that did the work and of its children
    long peakKb = 0;       // how far the work raised the memory of the process that did it
};

long statusKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Runs the work in a child process, so its peak memory is its own; `exec` children report their whole peak.
Run inChild(const std::function<void()>& work, bool exec = false)
{
    std::fflush(nullptr);
    int report[2];
    if (::pipe(report) != 0)
        std::exit(1);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        const long before = statusKb("VmRSS:");
        work();
        const long growth = statusKb("VmHWM:") - before;
        if (::write(report[1], &growth, sizeof growth) != sizeof growth)
            ::_exit(1);
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    long growth = 0;
    const bool reported = ::read(report[0], &growth, sizeof growth) == sizeof growth;
    ::close(report[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || (!reported && !exec)) {
        std::fprintf(stderr, "a benchmark step failed\n");
        std::exit(1);
    }
    const auto cpu = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds, cpu(usage.ru_utime) + cpu(usage.ru_stime), exec ? usage.ru_maxrss : growth};
}

Run shell(const QString& command)
{
    const QByteArray c = command.toLocal8Bit();
    return inChild([c] { ::execl("/bin/sh", "sh", "-c", c.constData(), static_cast<char*>(nullptr)); }, true);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void compare(const char* what, int rounds, const std::function<Run()>& ours, const std::function<Run()>& anchor,
             const char* anchorName)
{
    std::vector<double> a, b, aCpu, bCpu;
    long oursKb = 0, anchorKb = 0;
    for (int r = 0; r < rounds; ++r) {
        const Run x = ours();
        const Run y = anchor();
        a.push_back(x.seconds);
        b.push_back(y.seconds);
        aCpu.push_back(x.cpuSeconds);
        bCpu.push_back(y.cpuSeconds);
        oursKb = std::max(oursKb, x.peakKb);
        anchorKb = std::max(anchorKb, y.peakKb);
    }
    std::printf("%-38s ours %7.3f s %6ld MB | %-10s %7.3f s %6ld MB | ratio %.2f\n",
                (what + std::string(" (wall)")).c_str(), median(a), oursKb / 1024, anchorName, median(b),
                anchorKb / 1024, median(a) / median(b));
    std::printf("%-38s ours %7.3f s           | %-10s %7.3f s           | ratio %.2f\n",
                (what + std::string(" (cpu)")).c_str(), median(aCpu), anchorName, median(bCpu),
                median(aCpu) / median(bCpu));
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    QTemporaryDir dir;
    const QString root = dir.path();
    LocalFileSystem files;

    for (const bool onePicture : {false, true}) {
        const Folder f(root, onePicture ? QStringLiteral("picture") : QStringLiteral("mixed"), onePicture);
        const QString vrx = f.folder + QStringLiteral(".vrx");
        const QString gz = f.concatenated + QStringLiteral(".gz");
        std::printf("%s: %lld MB, largest file %lld MB\n", onePicture ? "one large picture" : "mixed folder",
                    f.bytes >> 20, f.largest >> 20);
        compare(
            "export", rounds,
            [&] { return inChild([&] { PanelArchive(files).CompressDirectory(f.folder, false, vrx); }); },
            [&] { return shell(QStringLiteral("gzip -6 -c '%1' > '%2'").arg(f.concatenated, gz)); }, "gzip -6");
        std::printf("%-38s %lld MB allowed above the start (2 x largest + 16 MB)\n", "export peak memory bound",
                    (2 * f.largest >> 20) + 16);
        const QString target = f.folder + QStringLiteral(".out");
        compare(
            "extraction", rounds,
            [&] {
                QDir(target).removeRecursively();
                return inChild([&] { PanelArchive(files).DecompressFile(vrx, target, true, true); });
            },
            [&] { return shell(QStringLiteral("gunzip -c '%1' > '%2.raw'").arg(gz, f.concatenated)); }, "gunzip");
        std::printf("%-38s archive %lld MB, gzip %lld MB\n", "compressed size", QFileInfo(vrx).size() >> 20,
                    QFileInfo(gz).size() >> 20);
        QDir(target).removeRecursively();
        QDir(f.folder).removeRecursively();
        QFile::remove(f.concatenated + QStringLiteral(".raw"));
    }

    // One entry of 1 GiB of zeros in an archive of about 1 MB: extracted with bounded memory.
    {
        const qint64 size = qint64(1) << 30;
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        const QByteArray zeros(1 << 20, '\0');
        QByteArray packed;
        std::vector<char> out(1 << 20);
        for (qint64 at = 0; at < size; at += zeros.size()) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
            z.avail_in = uInt(zeros.size());
            const int flush = at + zeros.size() >= size ? Z_FINISH : Z_NO_FLUSH;
            do {
                z.next_out = reinterpret_cast<Bytef*>(out.data());
                z.avail_out = uInt(out.size());
                deflate(&z, flush);
                packed.append(out.data(), qsizetype(out.size() - z.avail_out));
            } while (z.avail_out == 0);
        }
        deflateEnd(&z);
        QByteArray bytes;
        archive::appendEntry(bytes, "", "zeros.bin", qint32(size), packed);
        const QString bomb = root + QStringLiteral("/bomb.vrx");
        QFile f(bomb);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        const QString target = root + QStringLiteral("/bomb");
        const Run r = inChild([&] { PanelArchive(files).DecompressFile(bomb, target, true, true); });
        std::printf("1 GiB entry from a %lld KB archive: extracted %lld MB in %.2f s, peak RSS growth %ld MB\n",
                    qint64(bytes.size()) >> 10, QFileInfo(target + QStringLiteral("/zeros.bin")).size() >> 20,
                    r.seconds, r.peakKb / 1024);
        QDir(target).removeRecursively();
    }
    return 0;
}
