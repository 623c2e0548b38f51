#pragma once
#include "batch/FolderWalk.h"
#include "support/Job.h"

#include <windows.h>

#include <string>

// Lists the folders below one on a thread of its own (a Job), so that the windows keep
// answering through a large tree; the window learns of the end by a posted message, or,
// when a full queue lost it, from running().
class SubfolderSearch {
public:
    // False when a search is in hand or no thread could be made.
    bool start(std::wstring root, HWND window, UINT message);
    void cancel() { job_.cancel(); }
    bool running() const { return job_.running(); }
    // The folder of the latest search.
    const std::wstring& root() const { return root_; }
    enum class Outcome { Found, Cancelled, Failed };
    // Once the message came: what was found.
    Outcome take(Subfolders& found);

private:
    class Walk;

    std::wstring root_;
    Subfolders found_;
    Job job_; // last: it is cancelled and waited for before what it fills in goes
};
