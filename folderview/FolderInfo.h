#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/SettingsTable.h"
#include "resources/Texts.h"

#include <string>

// The folder's icon and comment, under [.ShellClassInfo] as the shell's own folder
// dialogs keep them, and what the Customize tab of Windows 7 and later keeps under
// [ViewState]: what the icon and comment dialog edits. Empty texts are unset.
struct FolderInfo {
    std::wstring icon = {}; // "path,index"
    std::wstring infoTip = {}; // the comment
    std::wstring folderType = {}; // which template Explorer shows the folder with
    std::wstring logo = {}; // the folder picture
    int copyIcon = kUnticked; // Apply copies the icon's file into the folder
    int copyLogo = kUnticked; // and the folder picture

    bool operator==(const FolderInfo&) const = default;
};

// The folder types of the Customize tab, by the value the settings file holds.
inline constexpr SettingChoice kFolderTypes[] = {
    {L"", kFolderTypeUnset},
    {L"Generic", kFolderTypeGeneric},
    {L"Documents", kFolderTypeDocuments},
    {L"Pictures", kFolderTypePictures},
    {L"Music", kFolderTypeMusic},
    {L"Videos", kFolderTypeVideos},
};

inline constexpr Setting<FolderInfo> kFolderInfoSettings[] = {
    {.section = kClassInfoSection,
     .key = kIconResourceKey,
     .kind = SettingKind::Icon,
     .text = &FolderInfo::icon,
     .copy = &FolderInfo::copyIcon},
    {.section = kClassInfoSection, .key = kInfoTipKey, .kind = SettingKind::Text, .text = &FolderInfo::infoTip},
    {.section = kViewStateSection,
     .key = kFolderTypeKey,
     .kind = SettingKind::Choice,
     .text = &FolderInfo::folderType,
     .choices = kFolderTypes},
    {.section = kViewStateSection,
     .key = kLogoKey,
     .kind = SettingKind::Text,
     .text = &FolderInfo::logo,
     .copy = &FolderInfo::copyLogo},
};

// Reads the folder's icon, comment, type and picture. A missing file gives empty
// fields. Fails, leaving info as it was, when there is no folder or it cannot be told
// whether the file exists.
TsStatus loadFolderInfo(FolderFiles& files, const std::wstring& folder, FolderInfo& info);

// Apply copies the files it is asked to into the folder, then writes each field that
// differs from loaded (what the window was opened with), an empty field deleting its
// keys; Remove deletes them all. The folder's other settings stay. The same guarantees
// as the picture's Apply: checked writes, nothing lost, the file hidden and system and
// the folder read-only after Apply. A copy of new bytes takes a new name, and the
// earlier copy goes once no key names it (folderview/FileCopy.h). Done names the icon
// the command replaced (formerIcon).
CommandOutcome runFolderInfoCommand(FolderFiles& files, const std::wstring& folder, const FolderInfo& info,
                                    const FolderInfo& loaded, Command action);

// For a command over many folders: the folder's own fields (own), with each field the
// user changed in the dialog (edited differs from loaded, what the dialog showed) taken
// from edited, so that Apply writes to each folder only what the user changed.
FolderInfo withChangedFields(const FolderInfo& own, const FolderInfo& edited, const FolderInfo& loaded);
