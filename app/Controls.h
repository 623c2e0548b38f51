#pragma once
#include "resources/LayoutTable.h"

#include <windows.h>

#include <span>
#include <string>

// Making and reading the controls of the program's windows.

// Creates the controls of a layout table in the window, in the table's order, scaled
// from 96 dots per inch to dpi, each with the font.
void createLayoutControls(HWND window, std::span<const ControlSpec> rows, int dpi, HFONT font);

// The windows' font (see LayoutTable.h) at the screen's resolution; the caller owns it.
HFONT createWindowFont(int dpi);

// The whole text of a window or control.
std::wstring windowText(HWND window);

// For WM_ACTIVATE with its state: a window that is not a dialog must keep its own
// focus across deactivation, in lastFocus.
void keepFocus(HWND window, UINT state, HWND& lastFocus);
