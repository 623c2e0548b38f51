#pragma once
#include <atomic>
#include <string>
#include <vector>

// What lies under a folder, for a command over a whole tree.
struct Subfolders {
    std::vector<std::wstring> folders; // every folder below the root, parents before their children
    std::vector<std::wstring> unreadable; // folders that could not be entered; what is below them is not listed
};

// Lists every folder below root, however deep and however long its path. Junctions and
// symbolic links are skipped, so that the walk never loops nor leaves the tree. Stops
// early, with what it found so far, when stop becomes true.
Subfolders listSubfolders(const std::wstring& root, const std::atomic<bool>& stop);
