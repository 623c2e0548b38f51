#pragma once
#include <windows.h>

#include <string>

// An icon in a file (an .ico, .exe or .dll): the file and the icon's index in it.
struct IconChoice {
    std::wstring file;
    int index = 0;
    bool operator==(const IconChoice&) const = default;
};

// The shell's dialog for choosing an icon. Set the fields, then show(); a fresh
// object serves one choice.
class IconDialog {
public:
    virtual ~IconDialog() = default;

    IconChoice icon; // where the dialog starts in; the chosen icon out
    HWND owner = nullptr; // the dialog is modal to it

    // True when the user confirmed an icon.
    virtual bool show();
};
