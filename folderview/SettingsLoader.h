#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"

// Fills the picture and colour fields of state from the settings file of
// state.folder. A missing file resets the colours and keeps the picture. Once the
// file exists, a failing read or key test is skipped: a failed key test counts as a
// present key, and a failed colour read reuses the last value read in this call (0
// before any). The result fails only when the file's path cannot be built or
// tested, before anything in state has changed.
TsStatus loadFolderLook(FolderFiles& files, FolderLookState& state);
