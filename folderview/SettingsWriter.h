#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/SettingsFile.h"

#include <optional>
#include <string>
#include <vector>

// One change to the settings file: a key set to a value, a key deleted (no value), or
// a whole section deleted (no key). Every copy of a deleted key or section goes.
struct SettingEdit {
    std::wstring section;
    std::optional<std::wstring> key;
    std::optional<std::wstring> value;
};

// Whether the text holds a line break or another character below the blank but the
// tab, which would break the line it is written on.
bool holdsControlCharacter(const std::wstring& text);

// Makes the edits to the settings file found at location through the profile writer, in
// order, on a copy of it beside it, and reads the copy back: only when every edit is
// there and every other line of the file reads as before does the copy take the file's
// place, in one step. Otherwise the copy is deleted, the file is as it was, bytes and
// attributes, and the outcome says why: no room on the disk, or the first line that
// would change. A text the file's encoding cannot hold is refused before anything is
// written. Both readings go through the system's profile reader, so the check holds for
// the system it runs on. The file ends hidden and system, not read-only; with markFolder
// the folder gets the read-only bit the shell looks for (not a drive root).
CommandOutcome writeSettings(FolderFiles& files, const std::wstring& folder, const SettingsLocation& location,
                             const std::vector<SettingEdit>& edits, bool markFolder);
