#pragma once
#include "support/Handles.h"

#include <windows.h>

#include <atomic>
#include <memory>

// What a job does on its thread, a step at a time.
class JobSteps {
public:
    virtual ~JobSteps() = default;
    // Runs the next step; false when it was the last. stop is set once the job is
    // cancelled, for the steps to end early.
    virtual bool next(const std::atomic<bool>& stop) = 0;
    // The step in hand threw: notes that it failed, taking no memory, which may be what
    // ran out; true to go on with the next step.
    virtual bool failed() noexcept { return false; }
};

// Work off the window thread: one thread at a time, below the windows' priority so that
// they keep answering while it works. A step that throws (a failed allocation, above
// all) fails alone and never unwinds out of the thread. The window learns of the end by
// a posted message; a full queue loses a message, so the window also asks running().
class Job {
public:
    Job() = default;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
    // Cancels the job and waits for its step in hand.
    ~Job();

    // Runs steps until the last; then message (wParam 0, lParam event) goes to window,
    // when it is not null. What the steps hold is released on the thread, as it ends.
    // False while the previous job runs, or when no thread could be made.
    bool start(std::unique_ptr<JobSteps> steps, HWND window = nullptr, UINT message = 0, LPARAM event = 0);
    void cancel() { stop_ = true; }
    bool cancelled() const { return stop_; }
    // Until the thread has ended.
    bool running() const;
    void wait();
    // Once it has ended: whether a step threw.
    bool failed() const { return failed_; }

private:
    static DWORD WINAPI run(void* job);

    std::unique_ptr<JobSteps> steps_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    LPARAM event_ = 0;
    std::atomic<bool> stop_ = false;
    std::atomic<bool> failed_ = false;
    ThreadHandle thread_;
};
