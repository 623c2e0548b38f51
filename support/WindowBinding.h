#pragma once
#include <windows.h>

// The window procedure of a window class whose windows belong to objects of T, made
// with CreateWindowEx(..., this): the object is kept in the window's user data from
// WM_NCCREATE to WM_NCDESTROY (T::window_ is set at both ends), and every message goes
// to T::handleMessage. No C++ exception may unwind through the system's code that
// called us: one ends in T::reportInternalError and the message is handled by default.
// T names this a friend.
template <typename T> LRESULT CALLBACK boundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(window, message, wParam, lParam);
    } catch (...) {
        self->reportInternalError();
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
