#pragma once
#include "folderview/FolderLookState.h"
#include "folderview/SettingsWriter.h"
#include "folderview/SkinOutcome.h"

#include <vector>

// What Apply writes for the window's look, with picture as the picture to save (a key
// that is off is deleted), in the order the shell's own files have them; or what
// Remove deletes: our key of [ExtShellFolderViews] and our whole section.
std::vector<SettingEdit> folderLookEdits(const FolderLookState& state, const std::wstring& picture, SkinAction action);
