#pragma once
#include "undo/JournalFrames.h"
#include "undo/JournalStore.h"

#include <cstddef>
#include <string>
#include <vector>

// The journal as read back: each command's entry, what it did in each of its folders,
// and which command "Вернуть как было" takes back. Nothing here is trusted: an entry is
// read frame by frame as far as its frames are whole, a frame claiming more than its cap
// ends it before anything is allocated, and a record that names a path outside its
// folder makes that folder's record unusable.

struct JournalFolder {
    std::wstring folder = {};
    bool begun = false; // a record of it is there: the command reached it
    bool usable = true; // false: beyond its cap, or damaged; never applied
    bool ended = false; // the command said what it came to there
    FolderEnd end = FolderEnd::Failed;
    // In the order recorded: with withRecords their bytes, and once ended their left fields.
    std::vector<RecordedPath> paths = {};
    // Whether the command may have changed the folder: done, or reached and never ended.
    bool changed() const { return usable && begun && (!ended || end == FolderEnd::Done); }
};

struct JournalEntry {
    std::wstring id = {};
    EntryHeader header = {};
    bool finished = false; // its command ended
    bool running = false; // unfinished, and its program still writes it
    std::uint64_t length = 0; // of its whole frames
    std::vector<JournalFolder> folders = {}; // as the header names them
};

// Reads an entry; without withRecords the bytes the records keep are skipped unread.
TsStatus readEntry(JournalStore& store, const JournalStore::Entry& listed, bool withRecords, JournalEntry& entry);

class Journal {
public:
    explicit Journal(JournalStore& store) : store_(store) {}
    // What the store holds now: entries not read yet are read, gone ones dropped.
    TsStatus refresh();
    // Oldest first.
    const std::vector<JournalEntry>& entries() const { return entries_; }
    // Whether a later undo took the entry's change back in that folder (and no undo
    // of that undo put it there again).
    bool undone(std::size_t entry, std::size_t folder) const { return undone_[entry][folder]; }
    // The newest command (not an undo) that changed any of folders (their one spelling,
    // as tsCanonicalFolder gives it) and that no undo took back there; npos when none.
    // Each undo so goes one command further back.
    std::size_t latestFor(const std::vector<std::wstring>& folders) const;
    // The entry's folders it changed and no undo took back, only those among folders
    // when given.
    std::vector<std::size_t> toUndo(std::size_t entry, const std::vector<std::wstring>* among = nullptr) const;
    // Entries of a program that ended in the middle of its command.
    std::vector<std::size_t> unfinished() const;

private:
    void findUndone();

    JournalStore& store_;
    std::vector<JournalEntry> entries_;
    std::vector<std::vector<bool>> undone_;
};
