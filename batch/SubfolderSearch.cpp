#include "batch/SubfolderSearch.h"

#include <utility>

SubfolderSearch::~SubfolderSearch()
{
    cancel();
    thread_.wait();
}

bool SubfolderSearch::start(std::wstring root, HWND window, UINT message)
{
    if (running())
        return false;
    root_ = std::move(root);
    found_ = {};
    failed_ = false;
    window_ = window;
    message_ = message;
    stop_ = false;
    return thread_.start(work, this);
}

SubfolderSearch::Outcome SubfolderSearch::take(Subfolders& found)
{
    thread_.wait();
    if (failed_)
        return Outcome::Failed;
    if (stop_)
        return Outcome::Cancelled;
    found = std::move(found_);
    return Outcome::Found;
}

DWORD WINAPI SubfolderSearch::work(void* self)
{
    auto& search = *static_cast<SubfolderSearch*>(self);
    // Nothing may unwind out of the thread; a tree too large for memory finds nothing.
    try {
        search.found_ = listSubfolders(search.root_, search.stop_);
    } catch (...) {
        search.failed_ = true;
    }
    PostMessageW(search.window_, search.message_, 0, 0);
    return 0;
}
