#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"

#include <string>

// Where a folder's settings file is, and whether it is there.
struct SettingsLocation {
    std::wstring path;
    bool exists = false;
};

// Fails when there is no folder or it cannot be told whether the file exists.
TsStatus findSettingsFile(FolderFiles& files, const std::wstring& folder, SettingsLocation& location);

// The same for a command, settled before anything is copied or written: Done with
// location set, or why the command cannot go on.
CommandOutcome settingsFileForCommand(FolderFiles& files, const std::wstring& folder, SettingsLocation& location);
