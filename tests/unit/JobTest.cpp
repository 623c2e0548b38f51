// The job's thread, with steps that only count what they see.
#include "support/Job.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <new>

namespace {

struct Seen {
    int steps = 0;
    int failures = 0;
    bool stopped = false;
    int priority = THREAD_PRIORITY_ERROR_RETURN;
    bool released = false;
};

// Takes steps up to last; the step throwing throws, and every step first waits for gate.
class Counting : public JobSteps {
public:
    Counting(Seen& seen, int last, int throwing, HANDLE gate)
        : seen_(seen),
          last_(last),
          throwing_(throwing),
          gate_(gate)
    {
    }
    ~Counting() override { seen_.released = true; }
    bool next(const std::atomic<bool>& stop) override
    {
        WaitForSingleObject(gate_, INFINITE);
        seen_.priority = GetThreadPriority(GetCurrentThread());
        if (++seen_.steps == throwing_)
            throw std::bad_alloc();
        seen_.stopped = stop;
        return !stop && seen_.steps < last_;
    }
    bool failed() noexcept override
    {
        ++seen_.failures;
        return true;
    }

private:
    Seen& seen_;
    const int last_, throwing_;
    const HANDLE gate_;
};

// The steps go on after the one that throws; the end comes once they are over, posted.
TEST(Job, AStepThatThrowsFailsAloneAndTheEndIsPostedOnceAllAreOver)
{
    const HANDLE open = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    Seen seen;
    Job job;
    ASSERT_TRUE(job.start(std::make_unique<Counting>(seen, 3, 2, open), window, WM_APP, 7));
    job.wait();
    EXPECT_FALSE(job.running());
    EXPECT_TRUE(job.failed());
    EXPECT_EQ(std::pair(seen.steps, seen.failures), std::pair(3, 1));
    EXPECT_TRUE(seen.released);
    EXPECT_EQ(seen.priority, THREAD_PRIORITY_BELOW_NORMAL);
    MSG end = {};
    ASSERT_TRUE(PeekMessageW(&end, window, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(end.lParam, 7);
    DestroyWindow(window);
    CloseHandle(open);
}

// Cancelled while a step is in hand, the job takes no other; going, it waits for that step.
TEST(Job, CancelledItTakesNoOtherStepAndGoingItWaitsForTheOneInHand)
{
    const HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Seen seen, refused;
    {
        Job job;
        ASSERT_TRUE(job.start(std::make_unique<Counting>(seen, 10, 0, gate)));
        EXPECT_FALSE(job.start(std::make_unique<Counting>(refused, 10, 0, gate)));
        job.cancel();
        SetEvent(gate);
    }
    EXPECT_EQ(seen.steps, 1);
    EXPECT_TRUE(seen.stopped);
    EXPECT_TRUE(seen.released);
    CloseHandle(gate);
}

} // namespace
