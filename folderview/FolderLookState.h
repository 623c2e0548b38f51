#pragma once
#include "folderview/SettingsTable.h"

#include <string>

// The window's editing state, as its controls hold it.
struct FolderLookState {
    std::wstring folder = {};
    std::wstring picture = {}; // empty means no picture
    int copyPicture = kUnticked;
    int textColorOn = kUnticked;
    ColorValue textColor = kBlack;
    int backColorOn = kUnticked;
    ColorValue backColor = kWhite;

    bool operator==(const FolderLookState&) const = default;
};

// The look's settings, in our section of the settings file, in the order the shell's
// own files have them.
inline constexpr Setting<FolderLookState> kLookSettings[] = {
    {.section = kViewId,
     .key = kImageKey,
     .kind = SettingKind::Text,
     .text = &FolderLookState::picture,
     .copy = &FolderLookState::copyPicture},
    {.section = kViewId,
     .key = kTextColorKey,
     .kind = SettingKind::Color,
     .on = &FolderLookState::textColorOn,
     .color = &FolderLookState::textColor,
     .unset = kBlack},
    {.section = kViewId,
     .key = kTextBackgroundKey,
     .kind = SettingKind::Color,
     .on = &FolderLookState::backColorOn,
     .color = &FolderLookState::backColor,
     .unset = kWhite},
};
