// Start-up probe: how long a program takes from CreateProcessW until its main window is
// shown and idle, and its peak working set by then. Shown and idle: the window is
// visible, the process has waited for input (WaitForInputIdle), its thread has answered
// a message sent after that, and neither the window nor any of its controls has a part
// left to paint. Quenmark loads the folder's settings before it shows its window. The
// process is then terminated: how it ends is no part of its start-up.
//
// Usage: StartupProbe RUNS FOLDER QUENMARK_EXE FLOOR_EXE CONTROLS_FLOOR_EXE REQUIRED_FLOOR_EXE [JOURNAL_HOME]
// With JOURNAL_HOME, Quenmark also starts with a journal of 1,000 finished entries
// (made in JOURNAL_HOME\Quenmark, and removed again), JOURNAL_HOME given to it as its
// local application data folder (LOCALAPPDATA), as "quenmark-journal". The programs
// take turns, each round in another order. Prints every run, one "median NAME
// MILLISECONDS PEAK_KIB" line per program, one "ratio quenmark FLOOR MEDIAN P10 P90"
// line for Quenmark's per-round ratio to each floor, and with the journal one "ratio
// quenmark-journal required-floor MEDIAN P10 P90" line.
#include "app/frmMain.h"
#include "support/Handles.h"

#include "FilledJournal.h"
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

constexpr std::size_t kJournalEntries = 1000;

struct Program {
    const wchar_t* name;
    std::wstring exe;
    const wchar_t* windowClass;
    bool takesFolder;
    std::wstring localAppData; // given to the program instead of the probe's own when not empty
    std::vector<double> milliseconds;
    std::vector<double> peakKiB;
};

// Whether the window or one of its controls still has a part to paint.
bool paintPending(HWND window)
{
    if (GetUpdateRect(window, nullptr, FALSE))
        return true;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetUpdateRect(child, nullptr, FALSE))
            return true;
    }
    return false;
}

// One start of the program; false, with the reason printed, when it did not come to be
// shown and idle.
bool measure(Program& program, const std::wstring& folder, bool keep)
{
    // Emulated 32-bit Wine can take many seconds to start a process.
    constexpr double kGiveUpMs = 120000;
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    if (program.takesFolder)
        commandLine += L" \"" + folder + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};

    // The started process takes a copy of the probe's environment.
    wchar_t own[MAX_PATH] = {};
    const DWORD ownLength = GetEnvironmentVariableW(L"LOCALAPPDATA", own, MAX_PATH);
    if (!program.localAppData.empty())
        SetEnvironmentVariableW(L"LOCALAPPDATA", program.localAppData.c_str());

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const BOOL started = CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &created);
    if (!program.localAppData.empty())
        SetEnvironmentVariableW(L"LOCALAPPDATA", ownLength > 0 && ownLength < MAX_PATH ? own : nullptr);
    if (!started) {
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
    const auto remaining = [&] { return static_cast<DWORD>(std::max(0.0, kGiveUpMs - millisecondsSince(start))); };
    DWORD_PTR answer = 0;
    bool idle = WaitForInputIdle(process.get(), remaining()) == 0;
    while (idle && !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, remaining(), &answer))
        idle = false;
    while (idle && paintPending(window) && remaining() > 0) {
        Sleep(0);
        idle = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, remaining(), &answer) != 0;
    }
    const double elapsed = millisecondsSince(start);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    const bool haveMemory = GetProcessMemoryInfo(process.get(), &memory, sizeof memory) != FALSE;
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 30000);
    if (!idle || paintPending(window)) {
        std::fwprintf(stderr, L"%ls: not idle with its window painted after %.0f ms\n", program.name, kGiveUpMs);
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

// The rounds, then their medians and ratios; false when a start failed.
bool measureAll(std::vector<Program>& programs, const std::wstring& folder, long runs)
{
    constexpr std::size_t kQuenmark = 0, kFloors = 4, kRequiredFloor = 3;
    const std::size_t count = programs.size();
    // One untimed start each fills the disk cache and Wine's, then the programs take turns,
    // so that any drift in the machine's load falls on all alike, and each starts first
    // as often as the others.
    for (Program& program : programs) {
        if (!measure(program, folder, false))
            return false;
    }
    for (long run = 0; run < runs; ++run) {
        for (std::size_t turn = 0; turn < count; ++turn) {
            if (!measure(programs[(static_cast<std::size_t>(run) + turn) % count], folder, true))
                return false;
        }
    }
    for (const Program& program : programs)
        std::wprintf(L"median %ls %.1f %.0f\n", program.name, median(program.milliseconds), median(program.peakKiB));
    // A ratio per round, between starts taken moments apart, then their spread.
    const auto ratio = [&](std::size_t started, std::size_t floor) {
        std::vector<double> ratios;
        for (std::size_t run = 0; run < programs[started].milliseconds.size(); ++run)
            ratios.push_back(programs[started].milliseconds[run] / programs[floor].milliseconds[run]);
        std::wprintf(L"ratio %ls %ls %.3f %.3f %.3f\n", programs[started].name, programs[floor].name, median(ratios),
                     percentile(ratios, 10), percentile(ratios, 90));
    };
    for (std::size_t floor = 1; floor < kFloors; ++floor)
        ratio(kQuenmark, floor);
    for (std::size_t started = kFloors; started < count; ++started)
        ratio(started, kRequiredFloor);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 7 && argc != 8) {
        std::fwprintf(stderr,
                      L"Usage: StartupProbe RUNS FOLDER QUENMARK_EXE FLOOR_EXE CONTROLS_FLOOR_EXE "
                      L"REQUIRED_FLOOR_EXE [JOURNAL_HOME]\n");
        return 2;
    }
    const long runs = runsArgument(argv[1]);
    if (runs == 0)
        return 2;
    std::vector<Program> programs = {
        {L"quenmark", argv[3], frmMain::kClassName, true, {}, {}, {}},
        {L"floor", argv[4], L"QuenmarkFloor", false, {}, {}, {}}, // the class Floor.cpp registers
        {L"controls-floor", argv[5], L"QuenmarkFloor", false, {}, {}, {}},
        {L"required-floor", argv[6], L"QuenmarkFloor", true, {}, {}, {}},
    };
    const std::wstring journal = argc == 8 ? std::wstring(argv[7]) + L"\\Quenmark" : L"";
    if (!journal.empty()) {
        FilledJournal filled;
        if (!fillJournal(journal, kJournalEntries, filled)) {
            removeJournalStore(journal);
            return 1;
        }
        programs.push_back({L"quenmark-journal", argv[3], frmMain::kClassName, true, argv[7], {}, {}});
    }
    const bool ok = measureAll(programs, argv[2], runs);
    if (!journal.empty())
        removeJournalStore(journal);
    return ok ? 0 : 1;
}
