#pragma once

// A window's fixed layout as data: one row per control, in pixels at 96 dots per
// inch, which the window scales as a whole. Rows are in tab order: a window creates
// its controls in this order, and the dialog manager tabs through them in creation
// order.

#include "support/LocalText.h"

// Every window's font: Tahoma 9 pt with the Cyrillic character set.
inline constexpr int kWindowFontPoints = 9;
inline constexpr wchar_t kWindowFontFace[] = L"Tahoma";

enum class ControlKind {
    Label,
    ReadOnlyTextBox,
    TextBox,
    Button,
    DefaultButton,
    CheckBox,
    DropDownList,
    Swatch,
    IconArea,
    List // a list view in report mode, its rows given by the window
};

struct ControlSpec {
    int id;
    ControlKind kind;
    Text caption;
    int left, top, width, height;
};
