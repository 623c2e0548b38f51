#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"

#include <string>

// Copies the file a setting names (settingFile) into the folder as a hidden file, so that the
// settings file can name it by its bare name and the setting travels with the folder.
// A source that already is the copy is left alone: copying a file onto itself would
// empty it. key names the setting for the message about a failed copy. Done with
// name set to the copy's bare name, or why not, with nothing changed.
CommandOutcome copyIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& source,
                              const wchar_t* key, std::wstring& name);
