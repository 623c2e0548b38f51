#pragma once
#include "resources/LayoutTable.h"

#include <windows.h>

// The main window's layout (see LayoutTable.h). The two colour swatches take no focus
// and come last.

enum ControlId : int {
    lblTag1 = 100,
    txtWorkFolder,
    cmdBrowseFolder,
    lblTag0,
    txtPicture,
    cmdBrowse,
    chkCopyPicture,
    chkTextColor,
    cmdBrowseTextColor,
    chkBackColor,
    cmdBrowseBackColor,
    cmdSkin0, // Apply
    cmdSkin1, // Remove
    shpTextColor,
    shpBackColor,
};

inline constexpr int kMainClientWidth = 385;
inline constexpr int kMainClientHeight = 185;

inline constexpr ControlSpec kMainControls[] = {
    {lblTag1, ControlKind::Label, {L"Каталог:", L"Folder:"}, 12, 16, 53, 13},
    {txtWorkFolder, ControlKind::ReadOnlyTextBox, {}, 80, 12, 265, 21},
    {cmdBrowseFolder, ControlKind::Button, {L"...", L"..."}, 348, 12, 25, 21},
    {lblTag0, ControlKind::Label, {L"Картинка:", L"Picture:"}, 12, 44, 61, 13},
    {txtPicture, ControlKind::TextBox, {}, 80, 40, 265, 21},
    {cmdBrowse, ControlKind::Button, {L"...", L"..."}, 348, 40, 25, 21},
    {chkCopyPicture,
     ControlKind::CheckBox,
     {L"Копировать в настраиваемый каталог", L"Copy into the folder being styled"},
     80,
     68,
     253,
     13},
    {chkTextColor, ControlKind::CheckBox, {L" Текст:", L" Text:"}, 12, 92, 65, 13},
    {cmdBrowseTextColor, ControlKind::Button, {L"...", L"..."}, 348, 88, 25, 21},
    {chkBackColor, ControlKind::CheckBox, {L" Фон:", L" Back:"}, 12, 120, 53, 13},
    {cmdBrowseBackColor, ControlKind::Button, {L"...", L"..."}, 348, 116, 25, 21},
    {cmdSkin0, ControlKind::DefaultButton, {L"Установить!", L"Apply!"}, 140, 144, 113, 29},
    {cmdSkin1, ControlKind::Button, {L"Удалить", L"Remove"}, 260, 144, 113, 29},
    {shpTextColor, ControlKind::Swatch, {}, 80, 88, 265, 21},
    {shpBackColor, ControlKind::Swatch, {}, 80, 116, 265, 21},
};

// The commands the window adds to its system menu take their ids from their place in
// its table: below the system's own (0xF000 and up), with the four low bits clear,
// which the system keeps for itself.
inline constexpr unsigned systemMenuId(unsigned place)
{
    return 0x0100 + 0x10 * place;
}

// The ids the window's keys send (frmMain's table of keys): a system menu command's key
// by the command's place, then the about box's and Esc's.
inline constexpr WORD keyCommandId(unsigned place)
{
    return static_cast<WORD>(0x0800 + place);
}
inline constexpr WORD keyAboutBox = 0x0880, keyClose = 0x0881;
