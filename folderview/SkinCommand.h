#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"
#include "folderview/SkinOutcome.h"

// Apply copies the picture into the folder when state asks for it, then saves the
// settings with the copy's bare name or the picture text as it stands; Remove only
// removes them. Whatever can be refused is refused before anything is copied or
// written. Shows nothing.
SkinOutcome runSkinCommand(FolderFiles& files, const FolderLookState& state, SkinAction action);
