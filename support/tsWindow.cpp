#include "support/tsWindow.h"

#include "support/AppInfo.h"
#include "support/Handles.h"

namespace {

const wchar_t kAppWindowClass[] = L"QuenmarkApplication";

TsStatus lastError()
{
    return TsStatus::failure(GetLastError());
}

} // namespace

int screenDpi()
{
    return GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSX);
}

bool registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

TsStatus tsCenterFormEx(HWND window)
{
    RECT frame;
    if (!GetWindowRect(window, &frame))
        return lastError();
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return lastError();
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    if (!SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return lastError();
    return {};
}

TsStatus tsSetWindowResIconAll(HWND window, const wchar_t* iconGroup)
{
    // Shared icons belong to the system's cache, so the window never has to free them.
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const auto load = [&](int metricX, int metricY) {
        return static_cast<HICON>(
            LoadImageW(module, iconGroup, IMAGE_ICON, GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
    };
    const HICON big = load(SM_CXICON, SM_CYICON);
    const HICON small = load(SM_CXSMICON, SM_CYSMICON);
    if (!big || !small)
        return lastError();
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    return {};
}

TsStatus tsGetThunderMainHandle(HWND& result)
{
    static HWND appWindow = nullptr;
    if (!appWindow) {
        if (!registerWindowClass(kAppWindowClass, DefWindowProcW, nullptr))
            return lastError();
        appWindow = CreateWindowExW(0, kAppWindowClass, readAppInfo().title.c_str(), WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!appWindow)
            return lastError();
    }
    result = appWindow;
    return {};
}

TsStatus tsIsInIDE(bool& result)
{
    result = FindResourceW(GetModuleHandleW(nullptr), L"A_MAIN", RT_GROUP_ICON) == nullptr;
    return {};
}

TsStatus tsHighlightText(HWND editBox)
{
    SendMessageW(editBox, EM_SETSEL, 0, -1);
    return {};
}

TsStatus tsUnloadForm(HWND window)
{
    if (!DestroyWindow(window))
        return lastError();
    return {};
}
