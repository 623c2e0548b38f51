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
#include <functional>
#include <thread>

namespace {

// Long enough for Wine to start a program on a busy machine.
constexpr DWORD kPatienceMs = 20000;

bool waitUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return done();
}

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatienceMs, &result);
    return static_cast<LRESULT>(result);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// One run of the exe under test, on the folder given as its whole command line; the
// destructor ends the process if it still runs. One run at a time: its windows are
// found by their class and title once shown.
class QuenmarkRun {
public:
    explicit QuenmarkRun(const std::wstring& folder)
    {
        // The build hands over a Linux path: the same place is on Wine's drive Z:.
        wchar_t exe[MAX_PATH] = {};
        GetEnvironmentVariableW(L"QUENMARK_EXE_UNDER_TEST", exe, MAX_PATH);
        std::wstring path = L"Z:" + std::wstring(exe);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        std::wstring commandLine = L"\"" + path + L"\"  \"" + folder + L"\" ";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process_);
    }
    QuenmarkRun(const QuenmarkRun&) = delete;
    QuenmarkRun& operator=(const QuenmarkRun&) = delete;
    ~QuenmarkRun()
    {
        if (running())
            TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kPatienceMs);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    // The main window, once shown.
    HWND main() const { return waitFor(L"QuenmarkMain"); }
    HWND control(int id) const { return GetDlgItem(main(), id); }
    bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    bool endsWithZero() const
    {
        DWORD code = STILL_ACTIVE;
        return WaitForSingleObject(process_.hProcess, kPatienceMs) == WAIT_OBJECT_0
            && GetExitCodeProcess(process_.hProcess, &code) && code == 0;
    }
    // A key as the window's message loop receives it from the keyboard.
    void press(WORD key) const { PostMessageW(control(txtWorkFolder), WM_KEYDOWN, key, 1); }
    // The text of the message box the program shows next, which is then closed.
    std::wstring nextBox() const
    {
        const HWND box = waitFor(L"#32770");
        const std::wstring text = windowText(GetDlgItem(box, 0xFFFF)); // every box's message control
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        waitUntil([&] { return !IsWindow(box); });
        return text;
    }

private:
    HWND waitFor(const wchar_t* className) const
    {
        HWND window = nullptr;
        waitUntil([&] {
            window = FindWindowW(className, L"Quenmark");
            return (window && IsWindowVisible(window)) || !running();
        });
        return window;
    }

    PROCESS_INFORMATION process_ = {};
};

} // namespace

TEST(Quenmark, ShowsTheFolderAppliesOnEnterAndEndsOnEsc)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    writeFile(settings,
              ansiBytes(L"[" + kView + L"]\r\nIconArea_Image=D:\\Фото\\Небо.jpg\r\nIconArea_Text=0x000000FF\r\n"));
    {
        QuenmarkRun run(folder.path());
        ASSERT_NE(run.main(), nullptr);
        EXPECT_EQ(std::tuple(windowText(run.control(txtWorkFolder)), windowText(run.control(txtPicture)),
                             send(run.control(chkTextColor), BM_GETCHECK),
                             send(run.control(shpTextColor), kSwatchGetColor)),
                  std::tuple(folder.path(), L"D:\\Фото\\Небо.jpg", BST_CHECKED, RGB(255, 0, 0)));
        run.press(VK_ESCAPE);
        EXPECT_TRUE(run.endsWithZero());
    }
    QuenmarkRun run(folder.path());
    send(run.control(chkBackColor), BM_CLICK); // on, white as the window starts
    run.press(VK_RETURN);
    EXPECT_EQ(run.nextBox(), kDone);
    EXPECT_TRUE(run.endsWithZero());
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_TextBackground"), L"0x00FFFFFF");
    EXPECT_EQ(attributesOf(settings) & FILE_ATTRIBUTE_SYSTEM, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
}
