// A stand-in child program for the start/stop tests: reports how it was started into
// $VARNOLT_PROBE_DIR/<pid>.txt, then waits to be ended. A copy whose file name contains "Exits" ends at
// once; one whose name contains "Forks" leaves a grandchild behind in its process group.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <unistd.h>

extern char** environ;

int main(int argc, char** argv)
{
    const char* dir = std::getenv("VARNOLT_PROBE_DIR");
    if (!dir)
        return 2;
    const bool exits = std::strstr(argv[0], "Exits") != nullptr;
    const bool forks = std::strstr(argv[0], "Forks") != nullptr;

    std::string report;
    char cwd[4096] = {};
    if (getcwd(cwd, sizeof cwd))
        report += std::string("cwd=") + cwd + "\n";
    report += "pgid=" + std::to_string(getpgrp()) + "\n";
    report += "fds=";
    if (DIR* d = opendir("/proc/self/fd")) {
        const int own = dirfd(d);
        while (dirent* e = readdir(d)) {
            if (e->d_name[0] == '.' || std::atoi(e->d_name) == own)
                continue;
            report += std::string(e->d_name) + ",";
        }
        closedir(d);
    }
    report += "\n";
    if (forks) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            for (;;)
                pause();
        }
        report += "grandchild=" + std::to_string(grandchild) + "\n";
    }
    for (int i = 0; i < argc; ++i)
        report += std::string("arg=") + argv[i] + "\n";
    // Every entry, so a variable the launcher replaces would show twice if it were only added.
    static const char relay[] = "VARNOLT_RELAY_PORT=";
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, relay, sizeof relay - 1) == 0)
            report += std::string("relay=") + (*e + sizeof relay - 1) + "\n";

    const std::string path = std::string(dir) + "/" + std::to_string(getpid());
    if (FILE* f = std::fopen((path + ".tmp").c_str(), "w")) {
        std::fwrite(report.data(), 1, report.size(), f);
        std::fclose(f);
        std::rename((path + ".tmp").c_str(), (path + ".txt").c_str());
    }
    if (exits)
        return 0;
    for (;;)
        pause();
}
