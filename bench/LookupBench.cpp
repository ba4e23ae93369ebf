// The aircraft lookup for a name no panel carries, in a settings folder of 60 panels: through the folder index,
// against the fresh listing every lookup made before (every entry listed and examined), interleaved.
//   lookup_bench [lookups]
#include "platform/LocalFileSystem.h"
#include "settings/PanelFolderIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

bool freshListing(const FileSystem& files, const QString& iniPath, const QString& text)
{
    for (const DirEntry& e : files.list(iniPath + QStringLiteral("\\Panel_*"))) {
        if (e.isPlainDirectory() && e.name.contains(text, Qt::CaseSensitive))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int lookups = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir settings;
    for (int i = 0; i < 60; ++i) {
        const QString folder = settings.path() + QStringLiteral("/Panel_Aircraft %1").arg(i);
        QDir().mkpath(folder);
        QFile cfg(folder + QStringLiteral("/Aircraft %1.cfg").arg(i));
        cfg.open(QIODevice::WriteOnly);
    }
    // A folder last changed an hour ago, as a settings folder is while the simulator runs.
    const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(settings.path()).constData(), times, 0);

    LocalFileSystem files;
    PanelFolderIndex index;
    const QString iniPath = settings.path();
    using Clock = std::chrono::steady_clock;
    std::vector<double> ours, fresh;
    for (int round = 0; round < 10; ++round) {
        auto start = Clock::now();
        for (int i = 0; i < lookups / 10; ++i)
            index.firstContaining(files, iniPath, QStringLiteral("Su-27"));
        ours.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / (lookups / 10));
        start = Clock::now();
        for (int i = 0; i < lookups / 10; ++i)
            freshListing(files, iniPath, QStringLiteral("Su-27"));
        fresh.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / (lookups / 10));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(fresh.begin(), fresh.end());
    std::printf("lookup of an aircraft no panel carries, 60 panel folders, median of 10 rounds, interleaved\n");
    std::printf("  folder index    %7.2f us\n  fresh listing   %7.2f us\n  ratio           %7.3f\n", ours[5], fresh[5],
                ours[5] / fresh[5]);
    return 0;
}
