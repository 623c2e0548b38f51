#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"

// Fills the picture and colour fields of state from the settings file of
// state.folder. A missing file resets the colours and keeps the picture. Once the
// file exists, a failing read is skipped: a failed picture read keeps the picture, a
// failed key test counts as a present key, and a colour that cannot be read as a
// number in range counts as no colour. The result fails, before anything in state has
// changed, when there is no folder or it cannot be told whether the file exists.
TsStatus loadFolderLook(FolderFiles& files, FolderLookState& state);
