#pragma once
#include "resources/LayoutTable.h"

// The layout of the list of folders (see LayoutTable.h).

enum FoldersControlId : int {
    lstFolders = 300, // each folder, what it holds now, what the latest command came to
    lblBatch, // the command in hand: how far, which folder
    cmdAddFolder,
    cmdAddSubfolders,
    cmdTakeOut,
    cmdRetry,
    cmdUndoBatch,
    cmdCancelBatch,
};

inline constexpr int kFoldersClientWidth = 680;
inline constexpr int kFoldersClientHeight = 319;
// The columns' widths: the folder, what it holds, the outcome.
inline constexpr int kFoldersColumnWidths[] = {250, 190, 190};

inline constexpr ControlSpec kFoldersControls[] = {
    {lstFolders, ControlKind::List, {}, 12, 12, 656, 236},
    {lblBatch, ControlKind::Label, {}, 12, 256, 656, 13},
    {cmdAddFolder, ControlKind::Button, {L"Добавить…", L"Add…"}, 12, 278, 80, 29},
    {cmdAddSubfolders,
     ControlKind::Button,
     {L"Добавить вложенные папки…", L"Add the folders inside…"},
     98,
     278,
     186,
     29},
    {cmdTakeOut, ControlKind::Button, {L"Убрать", L"Take out"}, 290, 278, 70, 29},
    {cmdRetry, ControlKind::Button, {L"Повторить", L"Retry"}, 366, 278, 80, 29},
    {cmdUndoBatch, ControlKind::Button, {L"Вернуть как было", L"Undo"}, 452, 278, 120, 29},
    {cmdCancelBatch, ControlKind::Button, {L"Отмена", L"Cancel"}, 588, 278, 80, 29},
};

// The ids the list's keys send: Esc, Ctrl+Z and Delete.
enum FoldersKeyId : WORD { keyHideList = 0x0900, keyUndoBatch, keyTakeOut };
