#include "batch/SubfolderSearch.h"

#include <utility>

SubfolderSearch::~SubfolderSearch()
{
    cancel();
    wait();
}

bool SubfolderSearch::start(std::wstring root, HWND window, UINT message)
{
    if (running())
        return false;
    wait();
    root_ = std::move(root);
    found_ = {};
    failed_ = false;
    window_ = window;
    message_ = message;
    stop_ = false;
    thread_.reset(CreateThread(nullptr, 0, work, this, CREATE_SUSPENDED, nullptr));
    if (!thread_)
        return false;
    SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread_.get());
    return true;
}

bool SubfolderSearch::running() const
{
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void SubfolderSearch::wait()
{
    if (!thread_)
        return;
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

SubfolderSearch::Outcome SubfolderSearch::take(Subfolders& found)
{
    wait();
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
