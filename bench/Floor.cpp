// The least a window program can do: one window of Quenmark's client size, shown, and
// a message loop. Built with the same compiler, flags and static linking as
// Quenmark.exe, so the start-up probe can tell what Quenmark adds on top of it.
// Built with QUENMARK_FLOOR_CONTROLS (and the manifest), it is the second floor: the
// main window's layout alone: its 15 controls in their font, and nothing else.
#include "resources/MainLayout.h"

#include <windows.h>

#include <commctrl.h>

namespace {

constexpr wchar_t kFloorClass[] = L"QuenmarkFloor";

LRESULT CALLBACK floorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

#if QUENMARK_FLOOR_CONTROLS
struct Control {
    const wchar_t* className;
    DWORD style, exStyle;
};

// The system's own controls; the colour swatches are plain frames here.
Control controlOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::ReadOnlyTextBox: return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::TextBox: return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::DefaultButton: return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case ControlKind::CheckBox: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::Swatch: return {L"STATIC", SS_BLACKFRAME, 0};
    case ControlKind::Label:
    case ControlKind::IconArea: break; // only the icon dialog has one
    }
    return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
}
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = floorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kFloorClass;
    if (!RegisterClassW(&windowClass))
        return 1;

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, kMainClientWidth, kMainClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window =
        CreateWindowExW(0, kFloorClass, L"Floor", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
#if QUENMARK_FLOOR_CONTROLS
    InitCommonControls();
    const HFONT font = CreateFontW(-MulDiv(kWindowFontPoints, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, kWindowFontFace);
    for (const ControlSpec& row : kMainControls) {
        const Control kind = controlOf(row.kind);
        const HWND child =
            CreateWindowExW(kind.exStyle, kind.className, row.caption, WS_CHILD | WS_VISIBLE | kind.style, row.left,
                            row.top, row.width, row.height, window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
