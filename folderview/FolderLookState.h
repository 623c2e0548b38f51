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

// The look's settings, one row each: the key in our section of Desktop.INI and the
// fields that hold it, a text or a colour with its tick. Loading, saving and the
// window go through this table, so a setting of either kind is one row here and one
// in the window's table of the controls that show each key.
struct LookSetting {
    const wchar_t* key;
    std::wstring FolderLookState::*text; // a text, empty for none; null for a colour
    int FolderLookState::*on;
    ColorValue FolderLookState::*color;
    ColorValue unset; // the colour shown when none is stored
};

inline constexpr LookSetting kLookSettings[] = {
    {kImageKey, &FolderLookState::picture, nullptr, nullptr, kBlack},
    {kTextColorKey, nullptr, &FolderLookState::textColorOn, &FolderLookState::textColor, kBlack},
    {kTextBackgroundKey, nullptr, &FolderLookState::backColorOn, &FolderLookState::backColor, kWhite},
};
