#pragma once
#include <windows.h>

#include <string>

// The system's dialog for opening a file. Set the fields, then show(); a fresh
// object serves one choice.
class PictureFileDialog {
public:
    virtual ~PictureFileDialog() = default;

    std::wstring fileName; // initial name in; the chosen file's full path out
    std::wstring filter; // "caption|pattern;pattern|caption|pattern..."
    int options = 0; // extra OFN_* flags for the system dialog; fixed by the interface, the pickers pass 0
    std::wstring initialFolder; // empty: the system's choice
    HWND owner = nullptr; // the dialog is modal to it

    // True when the user confirmed a file.
    virtual bool show();
};
