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
    {lblIcon, ControlKind::Label, {L"Значок:", L"Icon:"}, 12, 20, 100, 13},
    {txtIcon, ControlKind::TextBox, {}, 114, 16, 150, 21},
    {cmdPickIcon, ControlKind::Button, {L"...", L"..."}, 267, 16, 25, 21},
    {picIcon, ControlKind::IconArea, {L"показать", L"show"}, 301, 6, 72, 42},
    {chkCopyIcon,
     ControlKind::CheckBox,
     {L"Копировать значок в папку", L"Copy the icon into the folder"},
     114,
     42,
     186,
     13},
    {lblInfoTip, ControlKind::Label, {L"Подсказка:", L"Comment:"}, 12, 66, 100, 13},
    {txtInfoTip, ControlKind::TextBox, {}, 114, 62, 259, 21},
    {lblFolderType, ControlKind::Label, {L"Тип папки:", L"Folder type:"}, 12, 96, 100, 13},
    {lstFolderType, ControlKind::DropDownList, {}, 114, 92, 259, 150},
    {lblLogo, ControlKind::Label, {L"Картинка папки:", L"Folder picture:"}, 12, 126, 100, 13},
    {txtLogo, ControlKind::TextBox, {}, 114, 122, 150, 21},
    {cmdPickLogo, ControlKind::Button, {L"...", L"..."}, 267, 122, 25, 21},
    {picLogo, ControlKind::IconArea, {L"показать", L"show"}, 301, 112, 72, 42},
    {chkCopyLogo,
     ControlKind::CheckBox,
     {L"Копировать картинку в папку", L"Copy the picture to the folder"},
     114,
     148,
     186,
     13},
    {cmdInfoApply, ControlKind::DefaultButton, {L"Установить!", L"Apply!"}, 68, 172, 97, 29},
    {cmdInfoRemove, ControlKind::Button, {L"Удалить", L"Remove"}, 172, 172, 97, 29},
    {cmdInfoCancel, ControlKind::Button, {L"Отмена", L"Cancel"}, 276, 172, 97, 29},
};
