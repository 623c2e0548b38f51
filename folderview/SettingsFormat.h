#pragma once
#include <cstdint>

// The folder's settings file as the shell's folder view extension reads it.

inline constexpr wchar_t kDesktopIni[] = L"Desktop.INI";
// The extension's identifier, used both as a key and as a section name.
inline constexpr wchar_t kViewId[] = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";
inline constexpr wchar_t kViewsSection[] = L"ExtShellFolderViews";
inline constexpr wchar_t kAttributesKey[] = L"Attributes";
inline constexpr wchar_t kImageKey[] = L"IconArea_Image";
inline constexpr wchar_t kTextColorKey[] = L"IconArea_Text";
inline constexpr wchar_t kTextBackgroundKey[] = L"IconArea_TextBackground";
inline constexpr wchar_t kClassInfoSection[] = L".ShellClassInfo";
inline constexpr wchar_t kConfirmFileOpKey[] = L"ConfirmFileOp";
inline constexpr wchar_t kIconResourceKey[] = L"IconResource";
inline constexpr wchar_t kIconFileKey[] = L"IconFile";
inline constexpr wchar_t kIconIndexKey[] = L"IconIndex";
inline constexpr wchar_t kInfoTipKey[] = L"InfoTip";
// What the Customize tab of Windows 7 and later sets.
inline constexpr wchar_t kViewStateSection[] = L"ViewState";
inline constexpr wchar_t kFolderTypeKey[] = L"FolderType";
inline constexpr wchar_t kLogoKey[] = L"Logo";

// A colour with red in the low byte, then green, then blue; the high byte is 0.
using ColorValue = std::int32_t;
inline constexpr ColorValue kBlack = 0;
inline constexpr ColorValue kWhite = 0xFFFFFF;

// Only plain RGB values count as a stored colour; negative ones (system colour
// numbers such as 0x8000000F) and anything above white count as none.
constexpr bool isStoredColor(std::int32_t value)
{
    return value >= 0 && value <= kWhite;
}

inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
inline constexpr std::uint32_t kAttrNotContentIndexed = 0x2000;
