#pragma once
#include "resources/LayoutTable.h"

// The layout of the dialog for the folder's icon and comment, its type and picture
// (see LayoutTable.h).

enum FolderInfoControlId : int {
    lblIcon = 200,
    txtIcon, // "path,index"
    cmdPickIcon,
    picIcon, // the icon at 32 × 32, or its caption as a link while the icon waits for the user
    chkCopyIcon,
    lblInfoTip,
    txtInfoTip,
    lblFolderType,
    lstFolderType,
    lblLogo,
    txtLogo,
    cmdPickLogo,
    picLogo, // the folder picture, small, or its caption as a link while it waits for the user
    chkCopyLogo,
    cmdInfoApply,
    cmdInfoRemove,
    cmdInfoCancel,
};

inline constexpr int kFolderInfoClientWidth = 385;
inline constexpr int kFolderInfoClientHeight = 213;
inline constexpr int kFolderInfoIconSize = 32;

inline constexpr ControlSpec kFolderInfoControls[] = {
    {lblIcon, ControlKind::Label, L"Значок:", 12, 20, 100, 13},
    {txtIcon, ControlKind::TextBox, L"", 114, 16, 150, 21},
    {cmdPickIcon, ControlKind::Button, L"...", 267, 16, 25, 21},
    {picIcon, ControlKind::IconArea, L"показать", 301, 6, 72, 42},
    {chkCopyIcon, ControlKind::CheckBox, L"Копировать значок в папку", 114, 42, 186, 13},
    {lblInfoTip, ControlKind::Label, L"Подсказка:", 12, 66, 100, 13},
    {txtInfoTip, ControlKind::TextBox, L"", 114, 62, 259, 21},
    {lblFolderType, ControlKind::Label, L"Тип папки:", 12, 96, 100, 13},
    {lstFolderType, ControlKind::DropDownList, L"", 114, 92, 259, 150},
    {lblLogo, ControlKind::Label, L"Картинка папки:", 12, 126, 100, 13},
    {txtLogo, ControlKind::TextBox, L"", 114, 122, 150, 21},
    {cmdPickLogo, ControlKind::Button, L"...", 267, 122, 25, 21},
    {picLogo, ControlKind::IconArea, L"показать", 301, 112, 72, 42},
    {chkCopyLogo, ControlKind::CheckBox, L"Копировать картинку в папку", 114, 148, 186, 13},
    {cmdInfoApply, ControlKind::DefaultButton, L"Установить!", 68, 172, 97, 29},
    {cmdInfoRemove, ControlKind::Button, L"Удалить", 172, 172, 97, 29},
    {cmdInfoCancel, ControlKind::Button, L"Отмена", 276, 172, 97, 29},
};
