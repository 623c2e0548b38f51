#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"
#include "undo/JournalFrames.h"
#include "undo/JournalStore.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

struct UndoLimits {
    std::uint64_t store = 64ull << 20; // all entries; the oldest go first
    std::uint64_t record = 16ull << 20; // one folder's files; beyond it a command cannot be undone there
};

// A change to one folder, made only through the files it is handed; folder is the
// folder's one spelling (tsCanonicalFolder), the one the entry names.
using FolderChange = std::function<CommandOutcome(FolderFiles& files, const std::wstring& folder)>;

// One command's entry in the journal, written while the command runs: every change of a
// folder is recorded, and the record on the disk, before the change is made.
//
// begin makes the entry. For each folder, prepare records its settings file and
// attributes, and sync puts what was recorded on the disk: a command over many folders
// prepares a few dozen, syncs once, then runs them, so that flushes stay few. run makes
// the change through files that record any other path before its first change (a copy's
// target, a temporary file, before it is made), flushed at once. A store that cannot take
// a record refuses the change (RecordFailed), with whatever the change had done put
// back; after the store fails once, every later folder is refused the same way. A
// folder whose record grows beyond limits.record is changed all the same, and cannot be
// undone. After each folder the entry learns what the change came to and left there,
// for undo to tell what changed since. finish (or the destructor) marks the entry
// finished, after all its folders, and keeps the journal within limits.store.
class CommandJournal {
public:
    CommandJournal(JournalStore& store, FolderFiles& files, EntryHeader header, const UndoLimits& limits = {});
    ~CommandJournal();
    CommandJournal(const CommandJournal&) = delete;
    CommandJournal& operator=(const CommandJournal&) = delete;

    TsStatus begin();
    void prepare(std::size_t index);
    TsStatus sync();
    CommandOutcome run(std::size_t index, const FolderChange& change);
    void finish();

    const EntryHeader& header() const { return header_; }
    const std::wstring& id() const { return id_; }
    // How many times the entry was flushed to the disk, for the bench.
    std::size_t flushes() const { return flushes_; }

    // A folder's record while it is prepared or changed.
    struct Folder {
        std::vector<RecordedPath> paths = {};
        // A recorded file's bytes while they are known without reading it: so the record
        // costs the change no read of the settings file, and no read to learn what it left.
        std::map<std::wstring, std::string> known = {};
        std::uint64_t size = 0;
        bool tooLarge = false;
        bool durable = false; // what was recorded so far is on the disk
    };
    // What the recording files ask of the entry: the path's state added to the folder's
    // record on the disk, or the record dropped when it grew beyond its cap.
    TsStatus record(std::size_t index, Folder& folder, RecordedPath state);

private:
    TsStatus write(FrameType type, const std::string& body);

    JournalStore& store_;
    FolderFiles& files_;
    EntryHeader header_;
    UndoLimits limits_;
    std::wstring id_;
    TsStatus storeError_;
    bool begun_ = false, finished_ = false, unsynced_ = false;
    std::size_t flushes_ = 0;
    std::map<std::size_t, Folder> folders_;
};

// A command on one folder, in an entry of its own: the main window's and the dialog's.
CommandOutcome runRecorded(FolderFiles& files, JournalStore& store, const std::wstring& folder, const CommandName& name,
                           const FolderChange& change, const UndoLimits& limits = {});

// The oldest finished entries removed until the journal fits bound; a running or
// unfinished one stays.
void boundJournal(JournalStore& store, std::uint64_t bound);
