#pragma once
#include "folderview/FolderViewFile.h"

#include <string>

// Check box values as the window reports them; only exactly kTicked counts as on,
// so a greyed (third-state) box counts as off.
inline constexpr int kUnticked = 0;
inline constexpr int kTicked = 1;

// The window's editing state, as its controls hold it.
struct FolderLookState {
    std::wstring folder;
    std::wstring picture; // empty means no picture
    int copyPicture = kUnticked;
    int textColorOn = kUnticked;
    ColorValue textColor = kBlack;
    int backColorOn = kUnticked;
    ColorValue backColor = kWhite;

    bool operator==(const FolderLookState&) const = default;
};
