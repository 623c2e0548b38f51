#include "batch/SubfolderSearch.h"

#include <utility>

// The walk in one step; a tree too large for memory fails it.
class SubfolderSearch::Walk : public JobSteps {
public:
    explicit Walk(SubfolderSearch& search) : search_(search) {}
    bool next(const std::atomic<bool>& stop) override
    {
        search_.found_ = listSubfolders(search_.root_, stop);
        return false;
    }

private:
    SubfolderSearch& search_;
};

bool SubfolderSearch::start(std::wstring root, HWND window, UINT message)
{
    if (running())
        return false;
    root_ = std::move(root);
    found_ = {};
    return job_.start(std::make_unique<Walk>(*this), window, message);
}

SubfolderSearch::Outcome SubfolderSearch::take(Subfolders& found)
{
    job_.wait();
    if (job_.failed())
        return Outcome::Failed;
    if (job_.cancelled())
        return Outcome::Cancelled;
    found = std::move(found_);
    return Outcome::Found;
}
