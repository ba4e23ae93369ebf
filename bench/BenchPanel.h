#pragma once

// The panel the start and stop benchmarks run: 64 rows of the bench child, and the bare anchor that spawns,
// kills and reaps the very argv the launcher's children receive. Needs BENCH_CHILD defined.
#include "instruments/InstrumentRow.h"
#include "platform/Processes.h"
#include "run/RunningProcesses.h"

#include <QFileInfo>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

constexpr int BenchRows = 64;

inline std::vector<LaunchLine> benchPanelLines()
{
    const QFileInfo child(QStringLiteral(BENCH_CHILD));
    LaunchValues v;
    v.appPath = child.absolutePath() + u'\\';
    v.panelName = QStringLiteral("Bench");
    v.localAddress = QStringLiteral("127.0.0.1");
    v.flightSimPort = QStringLiteral("45000");
    v.multicastGroup = QStringLiteral("224.11.5.62");
    v.showBackground = false;
    std::vector<InstrumentRow> rows(BenchRows);
    for (int i = 0; i < BenchRows; ++i) {
        rows[i].field(InstrumentRow::PortNo) = QString::number(47000 + i);
        rows[i].field(InstrumentRow::PathName) = child.fileName();
        rows[i].field(InstrumentRow::Size) = QStringLiteral("1.5");
        rows[i].field(InstrumentRow::InstNo) = QString::number(i + 1);
    }
    return PanelLaunchLines(v, rows);
}

// The same argv the launcher's children receive, prepared once.
struct BareArgv
{
    std::vector<std::vector<QByteArray>> strings;
    std::vector<std::vector<char*>> pointers;

    explicit BareArgv(const std::vector<LaunchLine>& lines)
    {
        for (const LaunchLine& line : lines) {
            std::vector<QByteArray> a;
            for (const QString& s : splitWindowsCommandLine(line.commandLine))
                a.push_back(s.toLocal8Bit());
            a.front().replace('\\', '/');
            strings.push_back(std::move(a));
        }
        for (auto& a : strings) {
            std::vector<char*> p;
            for (QByteArray& s : a)
                p.push_back(s.data());
            p.push_back(nullptr);
            pointers.push_back(std::move(p));
        }
    }

    std::vector<pid_t> spawnAll()
    {
        std::vector<pid_t> pids;
        for (auto& p : pointers) {
            pid_t pid = 0;
            if (posix_spawn(&pid, p[0], nullptr, nullptr, p.data(), environ) == 0)
                pids.push_back(pid);
        }
        return pids;
    }
};

inline void killAndReapEach(const std::vector<pid_t>& pids)
{
    for (pid_t pid : pids) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}
