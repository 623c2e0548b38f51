#pragma once
#include "preview/PreviewModel.h"
#include "support/ComApartment.h"

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <optional>
#include <string>

// The shell's large icons for the preview's items, from the system image list
// (shell32, loaded on first use). Each icon index is asked for once per type, since
// the types that share an icon share it whatever the file; folders are asked for once,
// and only the few types whose files carry icons of their own are asked per file.
// Asking costs about a millisecond under Wine, so only the items on screen ask.
class ShellIcons {
public:
    // Draws the item's icon with its top-left at x, y; nothing when the shell has none.
    void draw(HDC dc, const std::wstring& folder, const PreviewItem& item, int x, int y);
    // The size of a large icon.
    static SIZE size();

private:
    int indexOf(const std::wstring& folder, const PreviewItem& item);

    std::optional<ComApartment> com_; // the shell asks for it; made on the first question
    HIMAGELIST list_ = nullptr; // the system's, never destroyed by the program
    std::map<std::wstring, int> indexes_; // by type, or by path for a file with an icon of its own
};
