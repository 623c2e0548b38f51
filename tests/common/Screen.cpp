#include "common/Screen.h"

#include <windows.h>

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int scaled(int pixels)
{
    return MulDiv(pixels, screenDpi(), 96);
}
