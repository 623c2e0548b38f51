#include "support/tsWindow.h"

#include "support/Handles.h"

#include <string>

namespace {

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

TsStatus tsCenterFrame(SIZE frame, POINT& result)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info))
        return lastError();
    const RECT& area = info.rcWork;
    result = {area.left + (area.right - area.left - frame.cx) / 2, area.top + (area.bottom - area.top - frame.cy) / 2};
    return {};
}

TsStatus tsSetWindowResIconAll(HWND window, const wchar_t* iconGroup)
{
    // Shared icons belong to the system's cache, so the window never has to free them.
    // The program's windows all take the same group: each size is loaded once.
    static std::wstring loadedGroup;
    static HICON big = nullptr, small = nullptr;
    if (!big || !small || loadedGroup != iconGroup) {
        const HINSTANCE module = GetModuleHandleW(nullptr);
        const auto load = [&](int metricX, int metricY) {
            return static_cast<HICON>(LoadImageW(module, iconGroup, IMAGE_ICON, GetSystemMetrics(metricX),
                                                 GetSystemMetrics(metricY), LR_SHARED));
        };
        big = load(SM_CXICON, SM_CYICON);
        small = load(SM_CXSMICON, SM_CYSMICON);
        if (!big || !small)
            return lastError();
        loadedGroup = iconGroup;
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    return {};
}

TsStatus tsExeHasNoIcon(bool& result)
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
