#pragma once
#include <atomic>
#include <string>
#include <vector>

// What lies under a folder, for a command over a whole tree.
struct Subfolders {
    std::vector<std::wstring> folders; // every folder below the root, parents before their children
    // Folders that could not be entered (the root too), not in folders; what is below
    // them is not listed.
    std::vector<std::wstring> unreadable;
};

// Lists every folder below root, however deep and however long its path, each in its
// plain spelling ("C:\..." or "\\server\..."). Junctions and symbolic links are
// skipped, so that the walk never loops nor leaves the tree. Stops early, with what it
// found so far, when stop becomes true.
Subfolders listSubfolders(const std::wstring& root, const std::atomic<bool>& stop);
