#include "app/BaseWindow.h"

#include "app/Controls.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"

namespace window_base {

HWND create(const WindowSpec& shape, HWND owner, WNDPROC procedure, void* self, int dpi)
{
    const HBRUSH background = shape.background < 0 ? nullptr : GetSysColorBrush(shape.background);
    if (!registerWindowClass(shape.className, procedure, background))
        return nullptr;
    RECT frame = {0, 0, MulDiv(shape.clientWidth, dpi, 96), MulDiv(shape.clientHeight, dpi, 96)};
    AdjustWindowRectEx(&frame, shape.style, FALSE, shape.exStyle);
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    // Made where centring puts it: moving a made window costs start-up time. A window
    // off centre still works.
    POINT origin = {CW_USEDEFAULT, CW_USEDEFAULT};
    if (shape.centred)
        (void)tsCenterFrame(size, origin);
    const HWND window = CreateWindowExW(shape.exStyle, shape.className, shape.caption, shape.style, origin.x, origin.y,
                                        size.cx, size.cy, owner, nullptr, GetModuleHandleW(nullptr), self);
    bool inIde = false;
    // Without its icons the window still works.
    if (window && tsIsInIDE(inIde) && !inIde)
        (void)tsSetWindowResIconAll(window, L"A_MAIN");
    return window;
}

void createControls(HWND window, const WindowSpec& shape, int dpi, FontHandle& font)
{
    if (shape.controls.empty())
        return;
    font.reset(createWindowFont(dpi));
    createLayoutControls(window, shape.controls, dpi, font.get());
}

bool handleCommon(HWND window, const WindowSpec& shape, HWND& lastFocus, UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_SETCURSOR: return (result = BusyPointer::setCursor()) != FALSE;
    case DM_GETDEFID: // lets the dialog manager press the default button on Enter
        result = MAKELRESULT(shape.defaultButton, DC_HASDEFID);
        return shape.defaultButton != 0;
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

void reportInternalError(HWND window)
{
    MessageBoxW(window, kInternalError, kMainCaption, MB_OK | MB_ICONSTOP);
}

} // namespace window_base
