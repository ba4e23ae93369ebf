// Does this Windows (or Wine) run a thread-pool wait callback after the wait was cancelled and waited for?
// Windows promises it does not: after SetThreadpoolWait(wait, NULL, NULL) and
// WaitForThreadpoolWaitCallbacks(wait, TRUE) no callback of the wait runs. QProcess relies on that when a
// child ends during waitForFinished(); Wine 8 breaks it, which is why the tests wait for children through the
// event loop (tests/support/Wait.h). When this prints 0 late callbacks on a newer Wine, that rule can go.
//
//   x86_64-w64-mingw32-g++ -O2 -std=c++20 -static -o probe.exe tools/windows/threadpool-wait-probe.cpp
//   wine probe.exe 500
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

struct Watch
{
    std::atomic<bool> closed{false};
    std::atomic<int> late{0};
};

void CALLBACK childEnded(PTP_CALLBACK_INSTANCE, PVOID context, PTP_WAIT, TP_WAIT_RESULT)
{
    auto* watch = static_cast<Watch*>(context);
    if (watch->closed)
        ++watch->late;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) {
        Sleep(30000);
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t commandLine[MAX_PATH + 16];
    std::swprintf(commandLine, MAX_PATH + 16, L"\"%ls\" --child", self);

    // Kept until the end: a late callback must find its watch, not freed memory.
    std::vector<Watch> watches(runs);
    for (Watch& watch : watches) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
            std::fprintf(stderr, "cannot start the child: error %lu\n", GetLastError());
            return 2;
        }
        PTP_WAIT wait = CreateThreadpoolWait(childEnded, &watch, nullptr);
        SetThreadpoolWait(wait, child.hProcess, nullptr);
        Sleep(20);
        TerminateProcess(child.hProcess, 0);
        WaitForSingleObject(child.hProcess, 5000);
        // What QWinEventNotifier does when QProcess deletes it.
        SetThreadpoolWait(wait, nullptr, nullptr);
        WaitForThreadpoolWaitCallbacks(wait, TRUE);
        watch.closed = true;
        CloseThreadpoolWait(wait);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    Sleep(500);
    int late = 0;
    for (const Watch& watch : watches)
        late += watch.late;
    std::printf("%d children, %d callbacks after the wait was cancelled and waited for\n", runs, late);
    return late == 0 ? 0 : 1;
}
