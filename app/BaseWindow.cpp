#include "app/BaseWindow.h"

#include "app/Controls.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"

namespace window_base {

HWND create(const WindowSpec& spec, HWND owner, WNDPROC procedure, void* self, int dpi)
{
    const HBRUSH background = spec.background < 0 ? nullptr : GetSysColorBrush(spec.background);
    if (!registerWindowClass(spec.className, procedure, background))
        return nullptr;
    RECT frame = {0, 0, MulDiv(spec.clientWidth, dpi, 96), MulDiv(spec.clientHeight, dpi, 96)};
    AdjustWindowRectEx(&frame, spec.style, FALSE, spec.exStyle);
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    // Made where centring puts it: moving a made window costs start-up time. A window
    // off centre still works.
    POINT origin = {CW_USEDEFAULT, CW_USEDEFAULT};
    if (spec.centred)
        (void)tsCenterFrame(size, origin);
    const HWND window = CreateWindowExW(spec.exStyle, spec.className, spec.caption, spec.style, origin.x, origin.y,
                                        size.cx, size.cy, owner, nullptr, GetModuleHandleW(nullptr), self);
    bool inIde = false;
    // Without its icons the window still works.
    if (window && tsIsInIDE(inIde) && !inIde)
        (void)tsSetWindowResIconAll(window, L"A_MAIN");
    return window;
}

void createControls(HWND window, const WindowSpec& spec, int dpi, FontHandle& font)
{
    if (spec.controls.empty())
        return;
    font.reset(createWindowFont(dpi));
    createLayoutControls(window, spec.controls, dpi, font.get());
}

bool handleCommon(HWND window, const WindowSpec& spec, HWND& lastFocus, UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_SETCURSOR: return (result = BusyPointer::setCursor()) != FALSE;
    case DM_GETDEFID: // lets the dialog manager press the default button on Enter
        result = MAKELRESULT(spec.defaultButton, DC_HASDEFID);
        return spec.defaultButton != 0;
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
