// List window probe: the main window and its list of folders in this process, on real
// folders. Each run lists FOLDERS folders with a 1 KiB Desktop.INI each, presses Apply
// and, while the command runs off the window thread, keeps the longest the main window
// takes to answer a message sent from another thread; after a second it presses the
// list's Cancel and measures the time until the command has stopped. The same answer
// time with no command running, just before, tells what the machine itself adds.
//
// Usage: ListWindowProbe RUNS ROOT [FOLDERS]   (ROOT: an empty folder to work in; 1,000 folders by default)
// Prints "run ..." lines and "median NAME MILLISECONDS" lines (response-idle,
// response-batch, cancel).
#include "app/frmFolders.h"
#include "app/frmMain.h"
#include "folderview/Win32FolderFiles.h"
#include "resources/FoldersLayout.h"
#include "resources/Texts.h"
#include "undo/Win32JournalStore.h"

#include "Measure.h"
#include "ResponseWatch.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The account at the end of a stopped command is closed as soon as it shows.
LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    wchar_t name[8] = {};
    if (code == HCBT_ACTIVATE && GetClassNameW(reinterpret_cast<HWND>(wParam), name, 8)
        && lstrcmpW(name, L"#32770") == 0)
        PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Handles messages for about milliseconds.
void pumpFor(double milliseconds)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    while (millisecondsSince(start) < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        pump();
    }
}

// Watches from a thread of its own for the list's Cancel button to be disabled, which
// the list does once the command has stopped, before it shows the account (whose box
// would hold up the window's own thread).
struct StopWatch {
    HWND button;
    LARGE_INTEGER start;
    double stopped = 0;

    static DWORD WINAPI run(void* self)
    {
        auto& watch = *static_cast<StopWatch*>(self);
        while (IsWindowEnabled(watch.button))
            Sleep(1);
        watch.stopped = millisecondsSince(watch.start);
        return 0;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const long runs = runsArgument(argv[1]);
    const std::wstring root = argv[2];
    const long count = argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 1000;
    if (!runs || count < 2)
        return 2;
    const std::string ini = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nInfoTip=" + std::string(1000, 'x') + "\r\n";
    std::vector<std::wstring> folders;
    for (long i = 0; i < count; ++i) {
        folders.push_back(root + L"\\folder " + std::to_wstring(i));
        CreateDirectoryW(folders.back().c_str(), nullptr);
        const HANDLE file = CreateFileW((folders.back() + L"\\Desktop.INI").c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
        CloseHandle(file);
    }
    const HHOOK hook = SetWindowsHookExW(WH_CBT, closeBoxes, nullptr, GetCurrentThreadId());
    SystemComponents components({kAboutTitle, kErrorNumber, kMainCaption});
    Win32FolderFiles files;
    Win32JournalStore store(root + L"\\records");
    CreateDirectoryW((root + L"\\records").c_str(), nullptr);
    std::vector<double> quiet, response, cancel;
    for (long run = 0; run < runs; ++run) {
        frmMain form(components, files, store);
        if (!form.show(folders.front()))
            return 1;
        form.addFolders(folders);
        pump();
        const HWND list = FindWindowW(frmFolders::kClassName, nullptr);
        const HWND stop = GetDlgItem(list, cmdCancelBatch);
        {
            ResponseWatch idle(form.handle());
            pumpFor(1000);
            quiet.push_back(idle.stop());
        }
        ResponseWatch watch(form.handle());
        SendMessageW(GetDlgItem(form.handle(), cmdSkin0), BM_CLICK, 0, 0);
        pumpFor(1000);
        response.push_back(watch.stop());
        if (!IsWindowEnabled(stop)) {
            std::fwprintf(stderr, L"the command ended within a second: give more folders\n");
            return 1;
        }
        StopWatch stopping {stop, {}};
        QueryPerformanceCounter(&stopping.start);
        const HANDLE watcher = CreateThread(nullptr, 0, &StopWatch::run, &stopping, 0, nullptr);
        SendMessageW(stop, BM_CLICK, 0, 0);
        while (MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            pump();
        CloseHandle(watcher);
        cancel.push_back(stopping.stopped);
        std::wprintf(L"run %.1f %.1f %.1f\n", quiet.back(), response.back(), cancel.back());
        std::fflush(stdout);
    }
    UnhookWindowsHookEx(hook);
    std::wprintf(L"median response-idle %.1f\nmedian response-batch %.1f\nmedian cancel %.1f\n", median(quiet),
                 median(response), median(cancel));
    return 0;
}
