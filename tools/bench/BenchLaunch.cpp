// BenchLaunch.exe TIMEOUT_MS PROGRAM [ARGS...]: time from process start to window.
// Starts PROGRAM, waits until one of its top-level windows is visible, prints
//   launch seconds=<from just before CreateProcess to the window> ok=<1|0>
// and ends the program. ok=0 (exit code 1) when no window showed within TIMEOUT_MS or the
// program ended first; the program is ended in every case.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/bench/BenchReport.h"

namespace {

struct Search {
    DWORD processId;
    bool found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM context)
{
    Search* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

bool HasVisibleWindow(DWORD processId)
{
    Search search = {processId, false};
    EnumWindows(&CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// argv quoted back into one command line; the programs we start take simple arguments.
std::string CommandLine(int argc, char** argv, int first)
{
    std::string line;
    for (int i = first; i < argc; ++i) {
        if (!line.empty())
            line += ' ';
        const std::string arg = argv[i];
        line += arg.find_first_of(" \t") == std::string::npos ? arg : "\"" + arg + "\"";
    }
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: BenchLaunch.exe TIMEOUT_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const double timeout = strtoul(argv[1], nullptr, 10) / 1000.0;
    std::string line = CommandLine(argc, argv, 2);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BenchClock clock;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        fprintf(stderr, "cannot start %s: error %lu\n", line.c_str(), GetLastError());
        return 2;
    }
    bool shown = false;
    double seconds = 0;
    for (;;) {
        if (HasVisibleWindow(process.dwProcessId)) {
            seconds = clock.Seconds();
            shown = true;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0 || clock.Seconds() > timeout)
            break;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    printf("launch seconds=%.6f ok=%d\n", seconds, shown ? 1 : 0);
    return shown ? 0 : 1;
}
