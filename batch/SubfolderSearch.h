#pragma once
#include "batch/FolderWalk.h"
#include "support/WorkerThread.h"

#include <windows.h>

#include <atomic>
#include <string>

// Lists the folders below one on a thread of its own, so that the windows keep
// answering through a large tree; the window learns of the end by a posted message, or,
// when a full queue lost it, from running().
class SubfolderSearch {
public:
    SubfolderSearch() = default;
    SubfolderSearch(const SubfolderSearch&) = delete;
    SubfolderSearch& operator=(const SubfolderSearch&) = delete;
    // Stops the walk and waits for it.
    ~SubfolderSearch();

    // False when a search is in hand or no thread could be made.
    bool start(std::wstring root, HWND window, UINT message);
    void cancel() { stop_ = true; }
    bool running() const { return thread_.running(); }
    // The folder of the latest search.
    const std::wstring& root() const { return root_; }
    enum class Outcome { Found, Cancelled, Failed };
    // Once the message came: what was found.
    Outcome take(Subfolders& found);

private:
    static DWORD WINAPI work(void* self);

    std::wstring root_;
    Subfolders found_;
    bool failed_ = false;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::atomic<bool> stop_ = false;
    WorkerThread thread_;
};
