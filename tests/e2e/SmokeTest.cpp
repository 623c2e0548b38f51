// The real Quenmark.exe, started under Wine and driven from the test process through
// its windows, as a user would: the folder shown, Esc, and Enter applying.
#include "common/TestFiles.h"
#include "resources/MainLayout.h"
#include "resources/Texts.h"
#include "support/ColorSwatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// Long enough for Wine to start a program on a busy machine.
constexpr auto kPatience = std::chrono::seconds(20);

// A visible window of the class with the program's title, once there is one; one run
// at a time, so it is that run's.
HWND waitForWindow(const wchar_t* className)
{
    const auto end = std::chrono::steady_clock::now() + kPatience;
    HWND window = nullptr;
    while (!((window = FindWindowW(className, L"Quenmark")) && IsWindowVisible(window))
           && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return window;
}

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 20000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring text(HWND window)
{
    std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// Starts the exe under test on the folder as its whole command line, presses the key
// in its window once it shows the folder, closes the message box that follows, if any
// (its text is kept), and returns the exit code.
DWORD runPressing(const std::wstring& folder, WORD key, std::wstring& shown, std::wstring& box)
{
    // The build hands over a Linux path: the same place is on Wine's drive Z:.
    wchar_t exe[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUENMARK_EXE_UNDER_TEST", exe, MAX_PATH);
    std::wstring path = L"Z:" + std::wstring(exe);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring commandLine = L"\"" + path + L"\"  \"" + folder + L"\" ";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError();
    const HWND main = waitForWindow(L"QuenmarkMain");
    shown = text(GetDlgItem(main, txtWorkFolder)) + L"|" + text(GetDlgItem(main, txtPicture)) + L"|"
        + std::to_wstring(send(GetDlgItem(main, chkTextColor), BM_GETCHECK)) + L"|"
        + std::to_wstring(send(GetDlgItem(main, shpTextColor), kSwatchGetColor));
    PostMessageW(GetDlgItem(main, txtWorkFolder), WM_KEYDOWN, key, 1); // as from the keyboard
    if (key == VK_RETURN) {
        const HWND shownBox = waitForWindow(L"#32770");
        box = text(GetDlgItem(shownBox, 0xFFFF)); // every message box's text control
        PostMessageW(shownBox, WM_COMMAND, IDOK, 0);
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, code);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

} // namespace

TEST(Quenmark, ShowsTheFolderEndsOnEscAndAppliesOnEnter)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    writeFile(settings,
              ansiBytes(L"[" + kView + L"]\r\nIconArea_Image=D:\\Фото\\Небо.jpg\r\nIconArea_Text=0x000000FF\r\n"));
    std::wstring shown, box;
    EXPECT_EQ(runPressing(folder.path(), VK_ESCAPE, shown, box), 0u);
    EXPECT_EQ(shown, folder.path() + L"|D:\\Фото\\Небо.jpg|1|" + std::to_wstring(RGB(255, 0, 0)));

    EXPECT_EQ(runPressing(folder.path(), VK_RETURN, shown, box), 0u);
    EXPECT_EQ(box, kDone);
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Image"), L"D:\\Фото\\Небо.jpg");
}
