#pragma once
#include "resources/LayoutTable.h"

// The layout of the dialog for the folder's icon and comment (see LayoutTable.h).

enum FolderInfoControlId : int {
    lblIcon = 200,
    txtIcon, // "path,index"
    cmdPickIcon,
    picIcon, // the icon at 32 × 32, or its caption as a link while the icon waits for the user
    lblInfoTip,
    txtInfoTip,
    cmdInfoApply,
    cmdInfoRemove,
    cmdInfoCancel,
};

inline constexpr int kFolderInfoClientWidth = 385;
inline constexpr int kFolderInfoClientHeight = 133;
inline constexpr int kFolderInfoIconSize = 32;

inline constexpr ControlSpec kFolderInfoControls[] = {
    {lblIcon, ControlKind::Label, L"Значок:", 12, 20, 60, 13},
    {txtIcon, ControlKind::TextBox, L"", 80, 16, 200, 21},
    {cmdPickIcon, ControlKind::Button, L"...", 283, 16, 25, 21},
    {picIcon, ControlKind::IconArea, L"показать", 317, 6, 56, 42},
    {lblInfoTip, ControlKind::Label, L"Подсказка:", 12, 62, 65, 13},
    {txtInfoTip, ControlKind::TextBox, L"", 80, 58, 293, 21},
    {cmdInfoApply, ControlKind::DefaultButton, L"Установить!", 68, 92, 97, 29},
    {cmdInfoRemove, ControlKind::Button, L"Удалить", 172, 92, 97, 29},
    {cmdInfoCancel, ControlKind::Button, L"Отмена", 276, 92, 97, 29},
};
