// Drives Quenmark for scripts/screenshot, inside Wine's virtual desktop. Started on one
// folder, it shows four states, the window as it opens, its preview filling the
// desktop, the icon and comment dialog that F4 opens, and the message box that Apply
// ends with. Started on several, it shows the list of folders that opens by itself,
// moved to the desktop's top-left corner. For each state it creates the file
// SIGNAL_FOLDER\window, \preview, \icon, \done or \folders once the state is on the
// screen, and goes on when the script, its picture taken, has deleted it. The file
// \folders holds the list window's size, WIDTHxHEIGHT, for the script to cut out.
//
// Usage: ScreenshotDriver QUENMARK_EXE SIGNAL_FOLDER FOLDER...
#include "app/frmFolderInfo.h"
#include "app/frmFolders.h"
#include "app/frmMain.h"
#include "app/frmPreview.h"

#include "ProcessWindow.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Emulated 32-bit Wine can take many seconds to start a process.
constexpr DWORD kGiveUpMs = 120000;

// The process's visible window of the class, once its thread has dealt with what it was sent.
HWND waitForWindow(HANDLE process, DWORD processId, const wchar_t* windowClass)
{
    for (DWORD waited = 0; waited < kGiveUpMs; waited += 10) {
        if (const HWND window = visibleWindow(processId, windowClass)) {
            DWORD_PTR result;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &result);
            return window;
        }
        if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0)
            break;
    }
    std::fwprintf(stderr, L"ScreenshotDriver: no visible window of the class %ls\n", windowClass);
    return nullptr;
}

// Tells the script the state is on the screen, and waits until it has taken its picture.
// The file is written whole under another name first, so that the script never reads it
// half written.
bool signalAndWait(const std::wstring& file, const std::string& content = {})
{
    const std::wstring writing = file + L".part";
    const HANDLE created = CreateFileW(writing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(created, content.data(), static_cast<DWORD>(content.size()), &written, nullptr)
        && written == content.size();
    CloseHandle(created);
    if (!whole || !MoveFileExW(writing.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    for (DWORD waited = 0; waited < kGiveUpMs; waited += 50) {
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(50);
    }
    return false;
}

// The window, then its preview, the F4 dialog and Apply's message box.
bool showOneFolder(const PROCESS_INFORMATION& created, const std::wstring& signals)
{
    const HWND window = waitForWindow(created.hProcess, created.dwProcessId, frmMain::kClassName);
    HWND preview = nullptr;
    if (window && signalAndWait(signals + L"\\window")) {
        PostMessageW(window, WM_SYSCOMMAND, systemMenuId(0), 0); // the preview
        preview = waitForWindow(created.hProcess, created.dwProcessId, frmPreview::kClassName);
    }
    if (preview) {
        RECT desktop;
        GetClientRect(GetDesktopWindow(), &desktop);
        MoveWindow(preview, 0, 0, desktop.right, desktop.bottom, TRUE);
    }
    HWND dialog = nullptr;
    if (preview && signalAndWait(signals + L"\\preview")) {
        PostMessageW(preview, WM_CLOSE, 0, 0);
        PostMessageW(GetDlgItem(window, txtWorkFolder), WM_KEYDOWN, VK_F4, 1); // as from the keyboard
        dialog = waitForWindow(created.hProcess, created.dwProcessId, frmFolderInfo::kClassName);
    }
    if (!dialog || !signalAndWait(signals + L"\\icon"))
        return false;
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    // What a click on Apply sends.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(cmdSkin0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, cmdSkin0)));
    const HWND box = waitForWindow(created.hProcess, created.dwProcessId, L"#32770");
    if (!box || !signalAndWait(signals + L"\\done"))
        return false;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

// The list of folders, in the corner, over the main window beside it.
bool showFolders(const PROCESS_INFORMATION& created, const std::wstring& signals)
{
    const HWND window = waitForWindow(created.hProcess, created.dwProcessId, frmMain::kClassName);
    const HWND list = window ? waitForWindow(created.hProcess, created.dwProcessId, frmFolders::kClassName) : nullptr;
    if (!list)
        return false;
    SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(list);
    DWORD_PTR result;
    SendMessageTimeoutW(list, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &result);
    RECT frame;
    GetWindowRect(list, &frame);
    const std::string size = std::to_string(frame.right - frame.left) + "x" + std::to_string(frame.bottom - frame.top);
    if (!signalAndWait(signals + L"\\folders", size))
        return false;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fwprintf(stderr, L"Usage: ScreenshotDriver QUENMARK_EXE SIGNAL_FOLDER FOLDER...\n");
        return 2;
    }
    const std::wstring signals = argv[2];
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 3; i < argc; ++i)
        commandLine += L" \"" + std::wstring(argv[i]) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
        std::fwprintf(stderr, L"ScreenshotDriver: CreateProcessW failed, error %lu\n", GetLastError());
        return 1;
    }
    const bool shown = argc == 4 ? showOneFolder(created, signals) : showFolders(created, signals);
    if (WaitForSingleObject(created.hProcess, shown ? kGiveUpMs : 0) != WAIT_OBJECT_0)
        TerminateProcess(created.hProcess, 1);
    CloseHandle(created.hThread);
    CloseHandle(created.hProcess);
    return shown ? 0 : 1;
}
