#include "batch/BatchRun.h"

#include "resources/Texts.h"

BatchRun::~BatchRun()
{
    cancel();
    thread_.wait();
}

bool BatchRun::start(std::vector<std::wstring> folders, FolderStep step, HWND window, UINT message)
{
    if (running())
        return false;
    if (!finished_)
        finished_ = std::make_unique<Outcomes>();
    folders_ = std::move(folders);
    step_ = std::move(step);
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
    for (std::size_t i = 0; i < run.folders_.size() && !run.stop_; ++i) {
        run.post(i, Started);
        FolderOutcome outcome;
        // Nothing may unwind out of the thread; a step that throws (memory, above all)
        // fails its folder alone.
        try {
            outcome = run.step_(run.folders_[i]);
        } catch (...) {
            outcome = {FolderOutcome::State::Failed, kInternalError};
        }
        EnterCriticalSection(&run.finished_->lock);
        try {
            run.finished_->outcomes.emplace_back(i, std::move(outcome));
        } catch (...) {
            run.stop_ = true;
        }
        LeaveCriticalSection(&run.finished_->lock);
        run.post(i, Finished);
    }
    run.post(run.folders_.size(), Ended);
    return 0;
}
