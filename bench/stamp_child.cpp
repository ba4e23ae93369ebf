// Notes the moment it runs (CLOCK_MONOTONIC, nanoseconds) in $VARNOLT_BENCH_STAMPS/<pid>, then waits to be
// ended: a child program whose start can be timed from outside.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>

int main()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* dir = std::getenv("VARNOLT_BENCH_STAMPS");
    if (!dir)
        return 2;
    const std::string path = std::string(dir) + "/" + std::to_string(getpid());
    const std::string tmp = path + ".tmp";
    if (FILE* f = std::fopen(tmp.c_str(), "w")) {
        std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fclose(f);
        std::rename(tmp.c_str(), path.c_str());
    }
    for (;;)
        pause();
}
