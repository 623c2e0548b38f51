#pragma once
#include <windows.h>

// A filled rectangle showing one colour, with a thin frame. Its colour is its state:
// other windows (and tests in other processes) set and read it with these messages.
inline constexpr UINT kSwatchSetColor = WM_USER + 1; // wParam: COLORREF
inline constexpr UINT kSwatchGetColor = WM_USER + 2; // returns the COLORREF
inline constexpr wchar_t kColorSwatchClass[] = L"QuenmarkColorSwatch";

// Registers the window class once per process.
bool registerColorSwatch();
