#pragma once
#include "batch/BatchRun.h"
#include "folderview/FolderInfo.h"
#include "folderview/FolderLookState.h"

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

// The folder box of the main window for several: "3 папки: D:\А; D:\Б; D:\В", the
// first folders as many as fit a line.
std::wstring foldersBoxText(const FolderList& list);

// What a folder holds, in short: "картинка fon.jpg, цвет текста, значок, «Отпуск», тип Pictures".
std::wstring folderSummary(const FolderLookState& look, const FolderInfo& info);

// The account of a command over the folders at places: "Готово: 97 из 100. Не удалось:
// 3.", then the first failures with why; last, once, how many of those done a sync
// client keeps without their Desktop.INI, and which.
std::wstring batchReport(const FolderList& list, const std::vector<std::size_t>& places);
// The same account when every folder is done: "Готово!", whether it can be undone, and
// the word on sync clients.
std::wstring batchDone(const FolderList& list, const std::vector<std::size_t>& places, bool undoable);
