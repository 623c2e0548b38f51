#include "support/ColorSwatch.h"

#include "support/Handles.h"
#include "support/tsWindow.h"

namespace {

LRESULT CALLBACK swatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kSwatchSetColor:
        SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case kSwatchGetColor: return static_cast<LRESULT>(GetWindowLongPtrW(window, GWLP_USERDATA));
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&area, -1, -1);
        const BrushHandle fill(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA))));
        FillRect(dc, &area, fill.get());
        EndPaint(window, &paint);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

bool registerColorSwatch()
{
    return registerWindowClass(kColorSwatchClass, swatchProc, nullptr);
}
