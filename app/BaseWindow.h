#pragma once
#include "resources/LayoutTable.h"
#include "support/Handles.h"
#include "support/tsWindow.h"

#include <windows.h>

#include <span>
#include <vector>

class Components;

// What tells the program's windows apart, as data: the rest (the class, the scaling,
// the font and layout, centring, the program's icon, the busy pointer, the default
// button, the focus kept across deactivation, the modal run, the routing of control
// notifications and the exception boundary) is BaseWindow's.
struct WindowSpec {
    const wchar_t* className;
    Text caption;
    DWORD style;
    DWORD exStyle;
    int clientWidth; // at 96 dots per inch, as the layout
    int clientHeight;
    std::span<const ControlSpec> controls;
    int defaultButton = 0; // the button Enter presses; 0: none
    bool centred = true; // else where the system puts a new window
    int background = COLOR_BTNFACE; // a system colour; -1: the window paints all of itself
};

// A control's notification and the member that answers it, given the control's id.
template <typename T> struct CommandRoute {
    int id;
    int code; // BN_CLICKED, EN_CHANGE, EN_SETFOCUS...
    void (T::*run)(int id);
};

// A key that runs a window's command. The message loop hands it to the window as
// WM_COMMAND (TranslateAccelerator), so that the command runs inside the window's
// procedure and its exception boundary, as a control's or a menu's does.
struct KeyCommand {
    int key; // a virtual key
    int shift; // the Shift, Ctrl and Alt keys held with it (the bits 1, 2 and 4), no others
    WORD id; // in no menu: TranslateAccelerator then sends it as WM_COMMAND even while a menu greys its item
};

// A modal window gets each key pressed in it first, as this message (wParam: the key),
// before its focused control; a nonzero result says the window took it.
inline constexpr UINT kModalKeyDown = WM_APP + 0x100;

// The work of every window that does not depend on its class.
namespace window_base {
HWND create(const WindowSpec& windowSpec, HWND owner, WNDPROC procedure, void* self, int dpi);
void createControls(HWND window, const WindowSpec& windowSpec, int dpi, FontHandle& font);
// The answer to what every window answers alike; false for what the window answers itself.
bool handleCommon(HWND window, const WindowSpec& windowSpec, HWND& lastFocus, UINT message, WPARAM wParam,
                  LRESULT& result);
// Runs the window modal to its owner until it is gone; a WM_QUIT met closes it and is
// posted again for the main loop.
void runModal(HWND window, HWND owner);
void reportInternalError(Components& components, HWND window);
std::vector<ACCEL> acceleratorEntries(std::span<const KeyCommand> keys);
// Hands a key pressed in window or its controls to the window as its command; true when
// it was one. The table is made from entries on the first key.
bool translateKey(HWND window, AcceleratorTable& table, std::vector<ACCEL> (*entries)(), MSG& message);
} // namespace window_base

// A window of the program, of class T (CRTP). T gives kSpec (WindowSpec), kRoutes
// (CommandRoute<T> rows) when it has controls, onMessage(message, wParam, lParam,
// result), true for what it handles itself, and components_, which tells of an
// internal error; it names BaseWindow<T> a friend.
template <typename T> class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    HWND handle() const { return window_; }

protected:
    BaseWindow() = default;
    // A window whose last messages need T's members is closed by T's destructor; by now
    // they are gone, so what is left of the window goes to the system alone.
    ~BaseWindow()
    {
        if (window_)
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        close();
    }

    // Makes the window, hidden, with its controls, font and the program's icons. False
    // when it could not be made.
    bool create(HWND owner)
    {
        owner_ = owner;
        dpi_ = screenDpi();
        if (!window_base::create(T::kSpec, owner, procedure, this, dpi_))
            return false;
        window_base::createControls(window_, T::kSpec, dpi_, font_);
        return true;
    }
    // Shows the window modal to its owner, until it is closed.
    void runModal() { window_base::runModal(window_, owner_); }
    // Gives the owner the activation back first, then destroys the window.
    void close()
    {
        if (!window_)
            return;
        if (owner_ && (T::kSpec.style & WS_POPUP))
            EnableWindow(owner_, TRUE);
        DestroyWindow(window_);
    }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    int scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HWND lastFocus_ = nullptr; // the control that gets the focus back on activation
    int dpi_ = 96;
    FontHandle font_;

private:
    // this travels through CreateWindowEx and lives in the window's user data from
    // WM_NCCREATE to WM_NCDESTROY. No C++ exception may unwind through the system's
    // code that called us.
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        try {
            return self->route(message, wParam, lParam);
        } catch (...) {
            window_base::reportInternalError(static_cast<T*>(self)->components_, window);
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    LRESULT route(UINT message, WPARAM wParam, LPARAM lParam)
    {
        T& self = static_cast<T&>(*this);
        if constexpr (requires { T::kRoutes; }) {
            for (const CommandRoute<T>& row : T::kRoutes) {
                if (message == WM_COMMAND && row.id == LOWORD(wParam) && row.code == HIWORD(wParam))
                    (self.*row.run)(row.id);
            }
        }
        if (message == WM_CLOSE && (T::kSpec.style & WS_POPUP)) {
            close();
            return 0;
        }
        LRESULT result = 0;
        if (self.onMessage(message, wParam, lParam, result)
            || window_base::handleCommon(window_, T::kSpec, lastFocus_, message, wParam, result))
            return result;
        return message == WM_COMMAND ? 0 : DefWindowProcW(window_, message, wParam, lParam);
    }
};
