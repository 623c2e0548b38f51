#pragma once
#include "support/TsStatus.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the journal's entries live, one file per command, behind an interface so that
// tests can force a store that fails or stops. Win32JournalStore is the real one. The
// store moves bytes; what they mean is the journal's (undo/Journal.h).
class JournalStore {
public:
    struct Entry {
        std::wstring id; // entries made later have ids that sort later
        std::uint64_t size = 0;
        bool finished = false; // its command ended and said so
        bool running = false; // unfinished, and still written by a program that runs
    };
    virtual ~JournalStore() = default;

    // Every entry, oldest first.
    virtual TsStatus list(std::vector<Entry>& entries) = 0;
    // The unfinished ones alone, at the cost of those only: what a start looks for.
    virtual TsStatus listUnfinished(std::vector<Entry>& entries) = 0;
    // A new unfinished entry, open for appending until finish or close: one at a time.
    virtual TsStatus create(std::wstring& id) = 0;
    // An unfinished entry whose program has gone, opened again to be finished: what
    // follows its first length bytes (the frames found whole) is cut off first.
    virtual TsStatus resume(const std::wstring& id, std::uint64_t length) = 0;
    // Added at the open entry's end; on the disk only after flush.
    virtual TsStatus append(const std::string& bytes) = 0;
    virtual TsStatus flush() = 0;
    // The open entry marked finished (its last frame says so too) and closed.
    virtual TsStatus finish() = 0;
    // The open entry closed as it stands.
    virtual void close() = 0;
    virtual TsStatus size(const std::wstring& id, std::uint64_t& bytes) = 0;
    // size bytes at offset; ERROR_HANDLE_EOF when the entry ends before.
    virtual TsStatus readAt(const std::wstring& id, std::uint64_t offset, std::size_t size, std::string& bytes) = 0;
    virtual TsStatus remove(const std::wstring& id) = 0;
    // The store's folder, as the messages name it.
    virtual std::wstring where() const = 0;
};
