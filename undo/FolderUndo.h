#pragma once
#include "folderview/FolderFiles.h"
#include "undo/FolderRecord.h"
#include "undo/Journal.h"
#include "undo/UndoOutcome.h"

#include <cstdint>
#include <string>
#include <vector>

// Putting a folder back as a journal entry's record of it says.

// The path's state now: whether it exists, its attributes and, for a file, its bytes.
TsStatus readPathState(FolderFiles& files, RecordedPath& state);

// Puts every path of folder back as states say, all or nothing as far as the file
// system lets a failure be undone: each file's bytes are written beside it first (a full
// disk stops it there), then renamed into place with its attributes; what did not exist
// is deleted. current is what is there now, put back should a step fail.
UndoOutcome restorePaths(FolderFiles& files, const std::wstring& folder, const std::vector<RecordedPath>& states,
                         const std::vector<RecordedPath>& current);

// The files of the folder's record that someone changed since the command left them,
// one a line; empty when none, or when the command never said what it left (a run that
// ended in the middle: then what it left is not known, and the record is put back).
std::wstring changedSince(FolderFiles& files, const JournalFolder& folder);

// Puts the folder back as the entry's record of it (read withRecords) says, the folder's
// attributes last. A file changed since the command stops it (Changed) unless
// evenIfChanged. files are those a journal's entry for the undo hands over, so that the
// undo itself is recorded.
UndoOutcome undoJournalFolder(FolderFiles& files, const JournalFolder& folder, bool evenIfChanged);
