#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/SettingsTable.h"
#include "resources/FolderInfoLayout.h"
#include "resources/Texts.h"

#include <string>

// The folder's icon and comment, as the shell's own folder dialogs keep them under
// [.ShellClassInfo]: what the icon and comment dialog edits.
struct FolderInfo {
    std::wstring icon; // "path,index"; empty: no icon of its own
    std::wstring infoTip; // empty: no comment

    bool operator==(const FolderInfo&) const = default;
};

inline constexpr Setting<FolderInfo> kFolderInfoSettings[] = {
    {.section = kClassInfoSection,
     .key = kIconResourceKey,
     .kind = SettingKind::Icon,
     .text = &FolderInfo::icon,
     .control = txtIcon},
    {.section = kClassInfoSection,
     .key = kInfoTipKey,
     .kind = SettingKind::Text,
     .text = &FolderInfo::infoTip,
     .control = txtInfoTip},
};

// Reads the folder's icon and comment. A missing file gives empty fields. Fails,
// leaving info as it was, when there is no folder or it cannot be told whether the
// file exists.
TsStatus loadFolderInfo(FolderFiles& files, const std::wstring& folder, FolderInfo& info);

// Apply copies the files it is asked to into the folder, then writes each field that
// differs from loaded (what the window was opened with), an empty field deleting its
// keys; Remove deletes them all. The folder's other
// settings stay. The same guarantees as the picture's Apply: checked writes, nothing
// lost, the file hidden and system and the folder read-only after Apply.
CommandOutcome runFolderInfoCommand(FolderFiles& files, const std::wstring& folder, const FolderInfo& info,
                                    const FolderInfo& loaded, Command action);
