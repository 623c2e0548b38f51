#pragma once
#include "common/TestFiles.h"
#include "resources/MainLayout.h"
#include "support/ColorSwatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

// Drives the real Quenmark.exe from the test process: starts it, reads and presses its
// windows across the process boundary, and looks at what the screen shows.
namespace e2e {

// Long enough for Wine to start a program or open a system dialog on a busy machine.
constexpr DWORD kPatienceMs = 20000;

inline bool waitUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return done();
}

// A Linux absolute path, as the build hands it over, becomes the same place on Wine's drive Z:.
inline std::wstring windowsPath(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path.starts_with(L"\\") ? L"Z:" + path : path;
}

inline std::wstring exeUnderTest()
{
    wchar_t path[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUENMARK_EXE_UNDER_TEST", path, MAX_PATH);
    return windowsPath(path);
}

inline LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatienceMs, &result);
    return static_cast<LRESULT>(result);
}

inline std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

inline void setText(HWND window, const std::wstring& text)
{
    send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// For a button whose click opens a modal box and so returns only when the box closes.
inline void postClick(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

inline void writeIni(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value)
{
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()))
        throw systemError("WritePrivateProfileStringW", path);
}

// Pixels copied from the screen, as 0x00RRGGBB in rows top down: the window with its
// frame, or only its client area.
class ScreenImage {
public:
    explicit ScreenImage(HWND window, bool withFrame = true)
    {
        RECT area = {};
        if (withFrame)
            GetWindowRect(window, &area);
        else if (GetClientRect(window, &area))
            MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
        info_ = {sizeof info_, area.right - area.left, area.top - area.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        pixels.resize(static_cast<std::size_t>(width() * height()));
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, width(), height());
        const HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width(), height(), screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
        SelectObject(memory, old);
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height()), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info_),
                  DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    int width() const { return info_.biWidth; }
    int height() const { return -info_.biHeight; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width() + x)]; }
    // How many pixels are well bluer (or redder) than their other channels.
    int tinted(bool blue) const
    {
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [blue](std::uint32_t value) {
            const int red = (value >> 16) & 0xFF, green = (value >> 8) & 0xFF, bluePart = value & 0xFF;
            return (blue ? bluePart : red) >= std::max(green, blue ? red : bluePart) + 40;
        }));
    }
    // As a (top-down) .bmp file.
    void save(const std::wstring& path) const
    {
        const DWORD size = static_cast<DWORD>(pixels.size() * sizeof pixels[0]);
        const DWORD start = sizeof(BITMAPFILEHEADER) + sizeof info_;
        const BITMAPFILEHEADER file = {0x4D42, start + size, 0, 0, start}; // "BM"
        const std::string bytes = std::string(reinterpret_cast<const char*>(&file), sizeof file)
            + std::string(reinterpret_cast<const char*>(&info_), sizeof info_)
            + std::string(reinterpret_cast<const char*>(pixels.data()), size);
        writeFile(path, bytes);
    }

    std::vector<std::uint32_t> pixels;

private:
    BITMAPINFOHEADER info_ = {};
};

// Whether the screen shows the colour (0x00RRGGBB) in the middle of the window, once painted.
inline bool showsColour(HWND window, std::uint32_t colour)
{
    return waitUntil([&] {
        const ScreenImage image(window, false);
        return image.at(image.width() / 2, image.height() / 2) == colour;
    });
}

// A message box with this text and the information icon (blue) or the stop icon (red):
// icon handles cannot be compared across processes, colours can.
inline void expectMessageBox(HWND box, const std::wstring& text, bool blueIcon)
{
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(windowText(box), L"Quenmark");
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)), text); // every message box's message control
    EXPECT_TRUE(waitUntil([&] {
        const ScreenImage image(box, false);
        return image.tinted(blueIcon) >= 50 && image.tinted(!blueIcon) * 3 < image.tinted(blueIcon);
    })) << (blueIcon ? "no information icon" : "no stop icon");
    postClick(GetDlgItem(box, IDOK));
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

inline BOOL CALLBACK findWindow(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (processId == search.processId && IsWindowVisible(window) && std::wstring(name) == search.className)
        search.found = window;
    return search.found == nullptr;
}

// One run of the exe under test; the destructor ends the process if it still runs.
class QuenmarkRun {
public:
    // arguments: everything after the quoted program name on the command line, as is.
    QuenmarkRun(const std::wstring& arguments, const std::wstring& currentDirectory)
    {
        std::wstring commandLine = L"\"" + exeUnderTest() + L"\"" + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (CreateProcessW(exeUnderTest().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           currentDirectory.c_str(), &startup, &process_))
            waitUntil([this] { return (main_ = windowOf(L"QuenmarkMain")) != nullptr || !running(); });
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

    bool started() const { return main_ != nullptr; }
    HWND main() const { return main_; }
    HWND control(int id) const { return GetDlgItem(main_, id); }
    int checked(int id) const { return static_cast<int>(send(control(id), BM_GETCHECK)); }
    COLORREF swatch(int id) const { return static_cast<COLORREF>(send(control(id), kSwatchGetColor)); }
    bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    // Whether the process ends by itself with exit code 0.
    bool endsCleanly() const
    {
        DWORD code = STILL_ACTIVE;
        return WaitForSingleObject(process_.hProcess, kPatienceMs) == WAIT_OBJECT_0
            && GetExitCodeProcess(process_.hProcess, &code) && code == 0;
    }

    // A visible window of the process with that class: a top-level one ("#32770": a box or
    // dialog) or, given a parent, one of its descendants.
    HWND windowOf(const wchar_t* className, HWND parent = nullptr) const
    {
        WindowSearch search = {process_.dwProcessId, className, nullptr};
        if (parent)
            EnumChildWindows(parent, findWindow, reinterpret_cast<LPARAM>(&search));
        else
            EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND waitForBox() const
    {
        HWND box = nullptr;
        waitUntil([&] { return (box = windowOf(L"#32770")) != nullptr; });
        return box;
    }
    bool boxesClosed() const
    {
        return waitUntil([this] { return !windowOf(L"#32770") && IsWindowEnabled(main_); });
    }
    HWND focus() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    // Sends the key to the main window as real input, the modifiers held down around it.
    bool pressKey(WORD key, std::initializer_list<WORD> modifiers = {}) const
    {
        SetForegroundWindow(main_);
        if (!waitUntil([this] { return GetForegroundWindow() == main_; }))
            return false;
        const auto press = [](WORD virtualKey, DWORD flags) {
            keybd_event(static_cast<BYTE>(virtualKey), static_cast<BYTE>(MapVirtualKeyW(virtualKey, 0)), flags, 0);
        };
        for (WORD modifier : modifiers)
            press(modifier, 0);
        press(key, 0);
        press(key, KEYEVENTF_KEYUP);
        for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
            press(*modifier, KEYEVENTF_KEYUP);
        return true;
    }

private:
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
};

} // namespace e2e
