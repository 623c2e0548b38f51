#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"

// Apply copies the picture into the folder when state asks for it, then saves the
// settings with the copy's bare name or the picture text as it stands; Remove only
// removes them. Whatever can be refused is refused before anything is copied or
// written. Shows nothing.
CommandOutcome runLookCommand(FolderFiles& files, const FolderLookState& state, Command action);
