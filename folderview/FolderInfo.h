#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/SkinCommand.h"

#include <string>

// The folder's icon and comment, as the shell's own folder dialogs keep them under
// [.ShellClassInfo]: what the icon and comment dialog edits.
struct FolderInfo {
    std::wstring icon; // "path,index"; empty: no icon of its own
    std::wstring infoTip; // empty: no comment
};

// The icon text split at its last comma; a missing, empty or unreadable index is 0.
void splitIconText(const std::wstring& icon, std::wstring& path, int& index);

// Reads the folder's icon and comment: IconResource (which Windows Vista and later
// read) wins over IconFile with IconIndex (which Windows 98 to XP read). A missing
// file gives empty fields. Fails, leaving info as it was, when there is no folder or
// it cannot be told whether the file exists.
TsStatus loadFolderInfo(FolderFiles& files, const std::wstring& folder, FolderInfo& info);

// Apply writes each field that differs from loaded (what the window was opened with):
// the icon into both forms of key, the comment, an empty field deleting its keys.
// Remove deletes them all. The folder's other settings stay. The same guarantees as
// the picture's Apply: checked writes, nothing lost, the file hidden and system and
// the folder read-only after Apply.
SkinOutcome runFolderInfoCommand(FolderFiles& files, const std::wstring& folder, const FolderInfo& info,
                                 const FolderInfo& loaded, SkinAction action);
