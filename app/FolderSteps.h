#pragma once
#include "batch/BatchRun.h"
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/FolderLookState.h"
#include "undo/CommandJournal.h"
#include "undo/FolderUndo.h"
#include "undo/Journal.h"
#include "undo/JournalUndo.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The commands of both windows as work over many folders: one journal entry for the
// whole command, and each folder through the same change as a folder alone, with its
// own outcome. The files and the store are used on the batch's thread.

// Makes a command's work over folders, their one spelling each (tsCanonicalFolder): a
// step is kept for "Повторить", which makes new work, and a new entry, of it.
using FolderStep = std::function<std::unique_ptr<BatchWork>(const std::vector<std::wstring>& folders)>;

// The main window's look, the same for every folder.
FolderStep lookStep(FolderFiles& files, JournalStore& store, const CommandName& name, const FolderLookState& look,
                    Command action);
// The dialog's fields: Apply writes to each folder only the fields the user changed
// (edited differs from loaded, what the dialog showed); Remove removes its keys.
FolderStep folderInfoStep(FolderFiles& files, JournalStore& store, const CommandName& name, const FolderInfo& edited,
                          const FolderInfo& loaded, Command action);
// "Вернуть как было" of an entry (read with its records) in each folder; a folder whose
// files changed since stays as it is (Changed) unless evenIfChanged.
FolderStep undoStep(FolderFiles& files, JournalStore& store, std::shared_ptr<const JournalEntry> undone,
                    const CommandName& name, bool evenIfChanged);

// A command's outcome as the list keeps it; after Apply, the folder's sync client (folderCloud).
FolderOutcome folderOutcome(const CommandOutcome& outcome, const std::wstring& folder);
FolderOutcome folderOutcome(const UndoOutcome& outcome);
