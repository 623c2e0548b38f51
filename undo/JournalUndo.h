#pragma once
#include "folderview/FolderFiles.h"
#include "undo/CommandJournal.h"
#include "undo/FolderUndo.h"
#include "undo/Journal.h"

#include <string>

// "Вернуть как было" without a window: an undo is a command of the journal, with an
// entry of its own whose records are what the undo found, so that it can be taken back
// in turn.

// The undo of the journal's folder at index (the undo's header names the folder) as
// undone's record of it says.
UndoOutcome undoInJournal(CommandJournal& journal, std::size_t index, const JournalEntry& undone, bool evenIfChanged);

// The entry's change taken back in one folder (its one spelling); the entry is read
// whole here. A folder whose files changed since is left as it is (Changed), with no
// entry made, unless evenIfChanged.
UndoOutcome undoEntry(FolderFiles& files, JournalStore& store, const JournalEntry& entry, const std::wstring& folder,
                      const CommandName& name, bool evenIfChanged);

// The latest command that changed the folder, taken back there (Nothing when none).
UndoOutcome undoLatest(FolderFiles& files, JournalStore& store, const std::wstring& folder, const CommandName& name,
                       bool evenIfChanged);
