#include "app/BaseWindow.h"

#include "app/Controls.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"
#include "support/Components.h"

namespace window_base {

HWND create(const WindowSpec& windowSpec, HWND owner, WNDPROC procedure, void* self, int dpi)
{
    const HBRUSH background = windowSpec.background < 0 ? nullptr : GetSysColorBrush(windowSpec.background);
    if (!registerWindowClass(windowSpec.className, procedure, background))
        return nullptr;
    RECT frame = {0, 0, MulDiv(windowSpec.clientWidth, dpi, 96), MulDiv(windowSpec.clientHeight, dpi, 96)};
    AdjustWindowRectEx(&frame, windowSpec.style, FALSE, windowSpec.exStyle);
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    // Made where centring puts it: moving a made window costs start-up time. A window
    // off centre still works.
    POINT origin = {CW_USEDEFAULT, CW_USEDEFAULT};
    if (windowSpec.centred)
        (void)tsCenterFrame(size, origin);
    const HWND window =
        CreateWindowExW(windowSpec.exStyle, windowSpec.className, windowSpec.caption, windowSpec.style, origin.x,
                        origin.y, size.cx, size.cy, owner, nullptr, GetModuleHandleW(nullptr), self);
    bool noIcon = false;
    // Without its icons the window still works.
    if (window && tsExeHasNoIcon(noIcon) && !noIcon)
        (void)tsSetWindowResIconAll(window, L"A_MAIN");
    return window;
}

void createControls(HWND window, const WindowSpec& windowSpec, int dpi, FontHandle& font)
{
    if (windowSpec.controls.empty())
        return;
    font.reset(createWindowFont(dpi));
    createLayoutControls(window, windowSpec.controls, dpi, font.get());
}

bool handleCommon(HWND window, const WindowSpec& windowSpec, HWND& lastFocus, UINT message, WPARAM wParam,
                  LRESULT& result)
{
    switch (message) {
    case WM_SETCURSOR: return (result = BusyPointer::setCursor()) != FALSE;
    case DM_GETDEFID: // lets the dialog manager press the default button on Enter
        result = MAKELRESULT(windowSpec.defaultButton, DC_HASDEFID);
        return windowSpec.defaultButton != 0;
    case WM_ACTIVATE: keepFocus(window, LOWORD(wParam), lastFocus); return true;
    default: return false;
    }
}

void runModal(HWND window, HWND owner)
{
    EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the window goes, and the main loop gets the quit.
            EnableWindow(owner, TRUE);
            DestroyWindow(window);
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (message.message == WM_KEYDOWN && (message.hwnd == window || IsChild(window, message.hwnd))
            && SendMessageW(window, kModalKeyDown, message.wParam, 0))
            continue;
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

std::vector<ACCEL> acceleratorEntries(std::span<const KeyCommand> keys)
{
    std::vector<ACCEL> entries;
    for (const KeyCommand& key : keys) {
        const BYTE held = (key.shift & 1 ? FSHIFT : 0) | (key.shift & 2 ? FCONTROL : 0) | (key.shift & 4 ? FALT : 0);
        entries.push_back({static_cast<BYTE>(FVIRTKEY | held), static_cast<WORD>(key.key), key.id});
    }
    return entries;
}

bool translateKey(HWND window, AcceleratorTable& table, std::vector<ACCEL> (*entries)(), MSG& message)
{
    if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        || !(message.hwnd == window || IsChild(window, message.hwnd)))
        return false;
    if (!table) {
        std::vector<ACCEL> keys = entries();
        table.reset(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
    }
    return table && TranslateAcceleratorW(window, table.get(), &message);
}

void reportInternalError(Components& components, HWND window)
{
    components.tell(window, kInternalError.c_str(), MB_ICONSTOP);
}

} // namespace window_base
