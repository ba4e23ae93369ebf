// A stand-in child program for the start/stop tests on Windows: reports how it was started into
// %VARNOLT_PROBE_DIR%\<pid>.txt (the argv its C runtime split from the command line, its working folder, every
// VARNOLT_RELAY_PORT of its environment), signals the event whose handle value %VARNOLT_PROBE_HANDLE% names if that
// handle was inherited, then waits to be ended. A copy whose file name contains "Exits" ends at once; one whose
// name contains "Forks" first starts a copy of itself that waits as well, and reports its id.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    const char* dir = std::getenv("VARNOLT_PROBE_DIR");
    if (!dir)
        return 2;
    if (argc == 2 && std::strcmp(argv[1], "--wait") == 0) {
        ::Sleep(INFINITE);
        return 0;
    }
    const bool exits = std::strstr(argv[0], "Exits") != nullptr;
    const bool forks = std::strstr(argv[0], "Forks") != nullptr;

    std::string report = "pid=" + std::to_string(::GetCurrentProcessId()) + "\n";
    char cwd[MAX_PATH * 4] = {};
    if (::GetCurrentDirectoryA(sizeof cwd, cwd))
        report += std::string("cwd=") + cwd + "\n";
    // An inherited handle would work here; a handle value of this process that is no event fails harmlessly.
    if (const char* handle = std::getenv("VARNOLT_PROBE_HANDLE"))
        ::SetEvent(reinterpret_cast<HANDLE>(std::strtoull(handle, nullptr, 10)));
    if (forks) {
        char self[MAX_PATH * 4] = {};
        ::GetModuleFileNameA(nullptr, self, sizeof self);
        std::string line = std::string("\"") + self + "\" --wait";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created{};
        if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
            report += "grandchild=" + std::to_string(created.dwProcessId) + "\n";
            ::CloseHandle(created.hThread);
            ::CloseHandle(created.hProcess);
        }
    }
    for (int i = 0; i < argc; ++i)
        report += std::string("arg=") + argv[i] + "\n";
    // Every entry, in any letter case, so a variable the launcher replaces would show twice if it were only added.
    static const char relay[] = "VARNOLT_RELAY_PORT=";
    for (char** e = _environ; *e; ++e)
        if (_strnicmp(*e, relay, sizeof relay - 1) == 0)
            report += std::string("relay=") + (*e + sizeof relay - 1) + "\n";

    const std::string path = std::string(dir) + "\\" + std::to_string(::GetCurrentProcessId());
    if (FILE* f = std::fopen((path + ".tmp").c_str(), "wb")) {
        std::fwrite(report.data(), 1, report.size(), f);
        std::fclose(f);
        ::MoveFileA((path + ".tmp").c_str(), (path + ".txt").c_str());
    }
    if (exits)
        return 0;
    ::Sleep(INFINITE);
    return 0;
}
