#include "batch/BatchRun.h"

#include "resources/Texts.h"

#include <algorithm>

BatchRun::~BatchRun()
{
    cancel();
    thread_.wait();
}

bool BatchRun::start(std::size_t count, std::unique_ptr<BatchWork> command, HWND window, UINT message)
{
    if (running())
        return false;
    if (!finished_)
        finished_ = std::make_unique<Outcomes>();
    count_ = count;
    work_ = std::move(command);
    window_ = window;
    message_ = message;
    stop_ = false;
    return thread_.start(work, this);
}

std::vector<std::pair<std::size_t, FolderOutcome>> BatchRun::take()
{
    if (!finished_)
        return {};
    EnterCriticalSection(&finished_->lock);
    std::vector<std::pair<std::size_t, FolderOutcome>> outcomes = std::move(finished_->outcomes);
    finished_->outcomes.clear();
    LeaveCriticalSection(&finished_->lock);
    return outcomes;
}

void BatchRun::post(std::size_t index, Event event) const
{
    if (window_)
        PostMessageW(window_, message_, index, event);
}

DWORD WINAPI BatchRun::work(void* self)
{
    auto& run = *static_cast<BatchRun*>(self);
    for (std::size_t i = 0; i < run.count_ && !run.stop_; ++i) {
        run.post(i, Started);
        FolderOutcome outcome;
        // Nothing may unwind out of the thread; a step that throws (memory, above all)
        // fails its folder alone. The handler only notes it: saying why takes memory.
        bool threw = false;
        try {
            if (i % kGroup == 0)
                run.work_->prepare(i, std::min(i + kGroup, run.count_));
            outcome = run.work_->run(i);
        } catch (...) {
            threw = true;
        }
        // An outcome that cannot be kept stops the run: the folders not reached stay as
        // they were, and the account says so.
        EnterCriticalSection(&run.finished_->lock);
        try {
            if (threw)
                outcome = {FolderOutcome::State::Failed, std::wstring(kInternalError.c_str())};
            run.finished_->outcomes.emplace_back(i, std::move(outcome));
        } catch (...) {
            run.stop_ = true;
        }
        LeaveCriticalSection(&run.finished_->lock);
        run.post(i, Finished);
    }
    try {
        run.work_->end();
    } catch (...) {
        // What could not be said of the run's end, the next start finds and asks about.
    }
    run.post(run.count_, Ended);
    return 0;
}
