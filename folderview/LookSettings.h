#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"
#include "folderview/SettingsWriter.h"

#include <vector>

// The look's settings in the settings file: reading them, and the edits that write or
// remove them.

// Fills the picture and colour fields of state from the settings file of
// state.folder. A missing file resets the colours and keeps the picture. Once the
// file exists, a failing read is skipped: a failed picture read keeps the picture, a
// failed key test counts as a present key, and a colour that cannot be read as a
// number in range counts as no colour. The result fails, before anything in state has
// changed, when there is no folder or it cannot be told whether the file exists.
TsStatus loadFolderLook(FolderFiles& files, FolderLookState& state);

// What Apply writes for the window's look, with picture as the picture to save (a key
// that is off is deleted), in the order the shell's own files have them; or what
// Remove deletes: our key of [ExtShellFolderViews] and our whole section.
std::vector<SettingEdit> lookEdits(const FolderLookState& state, const std::wstring& picture, Command action);
