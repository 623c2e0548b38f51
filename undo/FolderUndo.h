#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "undo/FolderRecord.h"
#include "undo/RecordStore.h"

#include <cstdint>
#include <functional>
#include <string>

// Every command that changes a folder runs through runRecorded, which keeps in the store
// the state before it; undoFolder puts that state back. One record per folder: the
// state before the latest command that changed it.

struct UndoLimits {
    std::uint64_t store = 64ull << 20; // all records; the oldest go first
    std::uint64_t record = 16ull << 20; // one folder's files; beyond it a command cannot be undone
};

// The command as the user saw it, and when it ran.
struct CommandName {
    std::wstring command, window;
    RecordTime time;
};

// Runs command, which changes the folder only through the files it is handed: before
// each file (or the folder's attributes) is first changed, its state is added to the
// folder's record and the record is staged whole in the store. A store that cannot
// take it refuses the change and the command (RecordFailed), with whatever the command
// had changed put back. A record beyond limits.record is dropped and the command runs
// on, Done but not undoable. After Done the record learns what the command left, so
// that undo can tell what changed since, and replaces the folder's earlier record; after
// a refusal the earlier record stays as it was.
CommandOutcome runRecorded(FolderFiles& files, RecordStore& store, const std::wstring& folder, const CommandName& name,
                           const std::function<CommandOutcome(FolderFiles&)>& command, const UndoLimits& limits = {});

enum class RecordFound {
    Found,
    None,
    Unusable, // damaged, of another version, or of another folder: never applied
};
// The folder's record, checked whole: its own folder, and only paths in that folder.
RecordFound findRecord(FolderFiles& files, RecordStore& store, const std::wstring& folder, FolderRecord& record);

struct UndoOutcome {
    enum class Kind {
        Done,
        Nothing, // no record for the folder
        Unusable, // subject: the store's folder
        Changed, // subject: the files changed since the command, one a line; nothing restored
        Failed, // subject: the path that could not be restored; error: the system's; all as it was
    };
    Kind kind = Kind::Done;
    std::wstring subject = {};
    std::uint32_t error = 0;
};

// Puts the folder back as its record says: the settings file and each copy with their
// bytes and attributes, or gone if the command made them, and the folder's attributes.
// Each file is written beside its place and renamed into it; a failure puts back what
// was already restored. A file changed since the command stops it (Changed) unless
// evenIfChanged. The record is removed after Done.
UndoOutcome undoFolder(FolderFiles& files, RecordStore& store, const std::wstring& folder, bool evenIfChanged);
