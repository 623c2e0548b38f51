#pragma once
#include "support/TsStatus.h"

#include <windows.h>

// Window chores of the support library.

// The screen's resolution in dots per inch, by which the windows scale the layouts
// they are given at 96.
int screenDpi();

// Registers a window class of the exe, once per process; true when it is there.
bool registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);

// Where a window of the frame size sits centred on the primary monitor's work area,
// for a window that is not made yet.
TsStatus tsCenterFrame(SIZE frame, POINT& result);

// Gives the window the small and large icons of the named icon group in the exe.
TsStatus tsSetWindowResIconAll(HWND window, const wchar_t* iconGroup);

// True when the exe has no icon resource "A_MAIN", as the test programs that link the
// windows have none.
TsStatus tsExeHasNoIcon(bool& result);

// Selects the whole text of an edit box.
TsStatus tsHighlightText(HWND editBox);

// Closes the window; for the program's last window this ends the program.
TsStatus tsUnloadForm(HWND window);
