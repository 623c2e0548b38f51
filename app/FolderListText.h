#pragma once
#include "batch/FolderList.h"
#include "folderview/FolderInfo.h"
#include "folderview/FolderLookState.h"

#include <cstddef>
#include <string>
#include <vector>

// The list of folders in the user's words, when a window shows it.

// The folder box of the main window for several: "3 папки: D:\А; D:\Б; D:\В", the
// first folders as many as fit a line.
std::wstring foldersBoxText(const FolderList& list);

// What a folder holds, in short: "картинка fon.jpg, цвет текста, значок, «Отпуск», тип Pictures".
std::wstring folderSummary(const FolderLookState& look, const FolderInfo& info);

// The account of a command over the folders at places: "Готово: 97 из 100. Не удалось:
// 3.", then the first failures with why; last, once, how many of those done a sync
// client keeps without their Desktop.INI, and which.
std::wstring batchReport(const FolderList& list, const std::vector<std::size_t>& places);
// The same account when every folder is done: "Готово!", whether it can be undone, and
// the word on sync clients.
std::wstring batchDone(const FolderList& list, const std::vector<std::size_t>& places, bool undoable);
