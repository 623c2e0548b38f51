// Start-up probe: how long a program takes from CreateProcessW until its main window is
// visible, and its peak working set by then. Quenmark loads the folder's settings
// before it shows its window, so a visible window means a loaded folder.
//
// Usage: StartupProbe RUNS QUENMARK_EXE FOLDER FLOOR_EXE CONTROLS_FLOOR_EXE
// Prints every run, then one "median NAME MILLISECONDS PEAK_KIB" line per program.
#include "app/frmMain.h"
#include "support/Handles.h"

#include "Measure.h"
#include "ProcessWindow.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Program {
    const wchar_t* name;
    std::wstring exe;
    std::wstring arguments;
    const wchar_t* windowClass;
    std::vector<double> milliseconds;
    std::vector<double> peakKiB;
};

// One start of the program; false, with the reason printed, when it did not show its
// window or did not end when asked to close.
bool measure(Program& program, bool keep)
{
    // Emulated 32-bit Wine can take many seconds to start a process.
    constexpr double kGiveUpMs = 120000;
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    if (!program.arguments.empty())
        commandLine += L" \"" + program.arguments + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
        std::fwprintf(stderr, L"%ls: CreateProcessW failed, error %lu\n", program.name, GetLastError());
        return false;
    }
    const FileHandle process(created.hProcess), thread(created.hThread);

    HWND window = nullptr;
    for (;;) {
        window = visibleWindow(created.dwProcessId, program.windowClass);
        if (window)
            break;
        // Waiting on the process doubles as the polling pause and notices an early end.
        if (WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) {
            std::fwprintf(stderr, L"%ls: ended before showing its window\n", program.name);
            return false;
        }
        if (millisecondsSince(start) > kGiveUpMs) {
            std::fwprintf(stderr, L"%ls: no visible window after %.0f ms\n", program.name, kGiveUpMs);
            TerminateProcess(process.get(), 1);
            return false;
        }
    }
    const double elapsed = millisecondsSince(start);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    const bool haveMemory = GetProcessMemoryInfo(process.get(), &memory, sizeof memory) != FALSE;

    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"%ls: still running 30 s after WM_CLOSE\n", program.name);
        TerminateProcess(process.get(), 1);
        return false;
    }
    if (!haveMemory) {
        std::fwprintf(stderr, L"%ls: GetProcessMemoryInfo failed\n", program.name);
        return false;
    }

    const double peakKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
    if (keep) {
        program.milliseconds.push_back(elapsed);
        program.peakKiB.push_back(peakKiB);
        std::wprintf(L"run %ls %.1f ms %.0f KiB\n", program.name, elapsed, peakKiB);
        std::fflush(stdout);
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6) {
        std::fwprintf(stderr, L"Usage: StartupProbe RUNS QUENMARK_EXE FOLDER FLOOR_EXE CONTROLS_FLOOR_EXE\n");
        return 2;
    }
    const long runs = runsArgument(argv[1]);
    if (runs == 0)
        return 2;
    Program programs[] = {
        {L"quenmark", argv[2], argv[3], frmMain::kClassName, {}, {}},
        {L"floor", argv[4], L"", L"QuenmarkFloor", {}, {}}, // the class Floor.cpp registers
        {L"controls-floor", argv[5], L"", L"QuenmarkFloor", {}, {}},
    };

    // One untimed start each fills the disk cache and Wine's, then the programs take turns,
    // so that any drift in the machine's load falls on all alike.
    for (Program& program : programs) {
        if (!measure(program, false))
            return 1;
    }
    for (long run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            if (!measure(program, true))
                return 1;
        }
    }
    for (const Program& program : programs)
        std::wprintf(L"median %ls %.1f %.0f\n", program.name, median(program.milliseconds), median(program.peakKiB));
    return 0;
}
