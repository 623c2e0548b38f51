// The least a window program can do: one window of Quenmark's client size, shown, and
// a message loop. Built with the same compiler, flags, static linking and manifest as
// Quenmark.exe, so the start-up probe can tell what Quenmark adds on top of it.
// Built with QUENMARK_FLOOR_CONTROLS, it is the second floor: the main window's layout
// alone, its 15 controls in their font. Built with QUENMARK_FLOOR_REQUIRED as well, it
// is the required-steps floor: what Quenmark must do at start-up, each step the
// cheapest way, and nothing else: the app path in the registry, the main window with
// the icons, the window made centred, one folder's Desktop.INI read (the folder is the
// command line).
#include "resources/MainLayout.h"

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

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
    case ControlKind::DropDownList: // only the icon dialog has these two
    case ControlKind::IconArea:
    case ControlKind::List: break; // only the list of folders
    }
    return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
}
#endif

#if QUENMARK_FLOOR_REQUIRED
// The registry value the program writes for the shell's Run box.
void registerAppPath()
{
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    HKEY key = nullptr;
    if (length == 0 || length == MAX_PATH
        || RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Floor.exe", 0,
                           nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
            != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(exe), (length + 1) * sizeof(wchar_t));
    RegCloseKey(key);
}

void setIcons(HWND window, HICON big, HICON small)
{
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// The three values of the folder's settings, one profile call each.
void readSettings(const wchar_t* folder)
{
    wchar_t path[MAX_PATH + 16], value[MAX_PATH];
    wsprintfW(path, L"%s\\Desktop.INI", folder);
    for (const wchar_t* key : {L"IconArea_Image", L"IconArea_Text", L"IconArea_TextBackground"})
        GetPrivateProfileStringW(L"{BE098140-A513-11D0-A3A4-00C04FD706EC}", key, L"", value, MAX_PATH, path);
}
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
#if QUENMARK_FLOOR_REQUIRED
    registerAppPath();
    InitCommonControls();
    const auto loadIcon = [instance](int size, int smallSize) {
        return static_cast<HICON>(LoadImageW(instance, L"A_MAIN", IMAGE_ICON, GetSystemMetrics(size),
                                             GetSystemMetrics(smallSize), LR_SHARED));
    };
    const HICON big = loadIcon(SM_CXICON, SM_CYICON), small = loadIcon(SM_CXSMICON, SM_CYSMICON);
#else
    (void)commandLine;
#endif
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
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int left = CW_USEDEFAULT, top = CW_USEDEFAULT;
#if QUENMARK_FLOOR_REQUIRED
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    left = monitor.rcWork.left + (monitor.rcWork.right - monitor.rcWork.left - width) / 2;
    top = monitor.rcWork.top + (monitor.rcWork.bottom - monitor.rcWork.top - height) / 2;
#endif
    const HWND window =
        CreateWindowExW(0, kFloorClass, L"Floor", style, left, top, width, height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
#if QUENMARK_FLOOR_CONTROLS
#if !QUENMARK_FLOOR_REQUIRED
    InitCommonControls();
#endif
    [[maybe_unused]] HWND folderBox = nullptr; // the required-steps floor fills it
    const HFONT font = CreateFontW(-MulDiv(kWindowFontPoints, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, kWindowFontFace);
    for (const ControlSpec& row : kMainControls) {
        const Control kind = controlOf(row.kind);
        const HWND child =
            CreateWindowExW(kind.exStyle, kind.className, row.caption, WS_CHILD | WS_VISIBLE | kind.style, row.left,
                            row.top, row.width, row.height, window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (row.id == txtWorkFolder)
            folderBox = child;
    }
#endif
#if QUENMARK_FLOOR_REQUIRED
    setIcons(window, big, small);
    // The folder as the probe quotes it.
    wchar_t* folder = commandLine + (*commandLine == L'"');
    if (const int length = lstrlenW(folder); length > 0 && folder[length - 1] == L'"')
        folder[length - 1] = L'\0';
    SetWindowTextW(folderBox, folder);
    const int length = lstrlenW(folder);
    SendMessageW(folderBox, EM_SETSEL, length, length);
    readSettings(folder);
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
