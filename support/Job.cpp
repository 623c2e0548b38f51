#include "support/Job.h"

#include <utility>

Job::~Job()
{
    cancel();
    wait();
}

bool Job::start(std::unique_ptr<JobSteps> steps, HWND window, UINT message, LPARAM event)
{
    if (running())
        return false;
    wait();
    steps_ = std::move(steps);
    window_ = window;
    message_ = message;
    event_ = event;
    stop_ = false;
    failed_ = false;
    thread_.reset(CreateThread(nullptr, 0, run, this, CREATE_SUSPENDED, nullptr));
    if (!thread_) {
        steps_.reset();
        return false;
    }
    SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread_.get());
    return true;
}

bool Job::running() const
{
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void Job::wait()
{
    if (!thread_)
        return;
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

DWORD WINAPI Job::run(void* self)
{
    Job& job = *static_cast<Job*>(self);
    {
        // Its owner may be long gone (a window closed while its picture decodes): what
        // the steps keep alive goes now, not when the job is next started or dropped.
        const std::unique_ptr<JobSteps> steps = std::move(job.steps_);
        for (bool more = true; more;) {
            try {
                more = steps->next(job.stop_);
            } catch (...) {
                job.failed_ = true;
                more = steps->failed();
            }
        }
    }
    if (job.window_)
        PostMessageW(job.window_, job.message_, 0, job.event_);
    return 0;
}
