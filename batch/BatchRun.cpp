#include "batch/BatchRun.h"

#include <algorithm>

// Runs on the batch's thread, one folder a step, then the command's end.
class BatchRun::Steps : public JobSteps {
public:
    Steps(BatchRun& run, std::unique_ptr<BatchWork> work, HWND window, UINT message)
        : run_(run),
          work_(std::move(work)),
          window_(window),
          message_(message)
    {
    }

    bool next(const std::atomic<bool>& stop) override
    {
        const std::size_t count = run_.outcomes_.size();
        if (index_ == count || stop) {
            ending_ = true;
            work_->end();
            return false;
        }
        post(index_, Started);
        if (index_ % kGroup == 0)
            work_->prepare(index_, std::min(index_ + kGroup, count));
        finish(work_->run(index_));
        return true;
    }

    // What could not be said of the run's end, the next start finds and asks about.
    bool failed() noexcept override
    {
        if (ending_)
            return false;
        finish(FolderOutcome {FolderOutcome::State::Failed});
        return true;
    }

private:
    void finish(FolderOutcome outcome) noexcept
    {
        run_.outcomes_[index_] = std::move(outcome);
        run_.finished_ = index_ + 1;
        post(index_++, Finished);
    }
    void post(std::size_t index, Event event) const
    {
        if (window_)
            PostMessageW(window_, message_, index, event);
    }

    BatchRun& run_;
    std::unique_ptr<BatchWork> work_;
    HWND window_;
    UINT message_;
    std::size_t index_ = 0;
    bool ending_ = false;
};

bool BatchRun::start(std::size_t count, std::unique_ptr<BatchWork> command, HWND window, UINT message)
{
    if (running())
        return false;
    outcomes_.assign(count, {});
    finished_ = 0;
    taken_ = 0;
    return job_.start(std::make_unique<Steps>(*this, std::move(command), window, message), window, message, Ended);
}

std::vector<std::pair<std::size_t, FolderOutcome>> BatchRun::take()
{
    std::vector<std::pair<std::size_t, FolderOutcome>> outcomes;
    for (const std::size_t finished = finished_; taken_ < finished; ++taken_)
        outcomes.emplace_back(taken_, std::move(outcomes_[taken_]));
    return outcomes;
}
