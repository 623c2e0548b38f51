#pragma once
#include "batch/BatchRun.h"
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/FolderLookState.h"
#include "undo/FolderUndo.h"

// The commands of both windows as steps over many folders: each folder goes through
// the same recorded command as a folder alone, with its own outcome. The files and the
// store are used on the batch's thread.

// The main window's look, the same for every folder.
FolderStep lookStep(FolderFiles& files, RecordStore& store, const CommandName& name, const FolderLookState& look,
                    Command action);
// The dialog's fields: Apply writes to each folder only the fields the user changed
// (edited differs from loaded, what the dialog showed); Remove removes its keys.
FolderStep folderInfoStep(FolderFiles& files, RecordStore& store, const CommandName& name, const FolderInfo& edited,
                          const FolderInfo& loaded, Command action);
// "Вернуть как было" for each folder; a folder whose files changed since stays as it
// is (Changed) unless evenIfChanged.
FolderStep undoStep(FolderFiles& files, RecordStore& store, bool evenIfChanged);

// A command's outcome in the list's words: the message a folder alone would show.
FolderOutcome folderOutcome(const CommandOutcome& outcome);
