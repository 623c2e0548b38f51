#pragma once
// Finding the window a started program shows, for the programs that drive Quenmark.
#include <windows.h>

// The process's visible top-level window of the class. Asking for the class alone keeps
// each poll to a few calls, so that polling takes little from the starting program.
inline HWND visibleWindow(DWORD processId, const wchar_t* windowClass)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, nullptr); window;
         window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}
