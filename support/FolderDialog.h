#pragma once
#include <windows.h>

#include <string>

// The system's folder browser. Set the fields, then show(); a fresh object serves
// one choice.
class FolderDialog {
public:
    virtual ~FolderDialog() = default;

    HWND owner = nullptr;
    std::wstring folder; // where the browser starts; the chosen folder out
    std::wstring prompt; // shown above the tree

    // True when the user confirmed a folder of the file system.
    virtual bool show();
};
