#pragma once
#include "batch/BatchRun.h"

#include <cstddef>
#include <string>
#include <vector>

// A folder of the list, what it holds (read when first shown) and what the latest
// command came to there.
struct ListedFolder {
    std::wstring folder;
    std::wstring summary = {}; // empty until read
    FolderOutcome outcome = {};
};

// The folders the commands act on, in the order they came, each once.
class FolderList {
public:
    // Adds the folders not listed yet, each by its one spelling (tsCanonicalFolder), so
    // that a folder named twice in other spellings is listed once; how many were new.
    // canonical: the folders are spelt so already (found below a folder that was).
    std::size_t add(const std::vector<std::wstring>& folders, bool canonical = false);
    void remove(std::size_t index) { folders_.erase(folders_.begin() + static_cast<std::ptrdiff_t>(index)); }
    void clear() { folders_.clear(); }
    std::size_t size() const { return folders_.size(); }
    ListedFolder& operator[](std::size_t index) { return folders_[index]; }
    const ListedFolder& operator[](std::size_t index) const { return folders_[index]; }

    // The places of the folders a command has not done yet: failed, or not reached.
    std::vector<std::size_t> notDone() const;

private:
    std::vector<ListedFolder> folders_;
};
