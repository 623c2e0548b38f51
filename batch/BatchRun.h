#pragma once
#include "support/WorkerThread.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What one folder of a command over many came to.
struct FolderOutcome {
    enum class State {
        Waiting, // not reached by the latest command (listed, or stopped before it)
        Done,
        Failed, // why: the reason, in the user's words
        Changed, // undo found files changed since the command; nothing restored
    };
    State state = State::Waiting;
    std::wstring why = {};
    bool undoable = true; // Done, but no record of the state before it kept
};

// The same command for one folder; run off the window thread, so it shows nothing.
using FolderStep = std::function<FolderOutcome(const std::wstring& folder)>;

// Runs a step over folders one after another on a thread of its own, so that the
// windows keep answering. Each folder stands alone: a failure does not stop the others.
// The window learns of each start and end by a posted message (wParam: the folder's
// place in the list given to start; lParam: one of the Event values).
class BatchRun {
public:
    enum Event : LPARAM { Started, Finished, Ended };

    BatchRun() = default;
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;
    // Stops before the next folder and waits for the one in hand.
    ~BatchRun();

    // False when a run is in hand or no thread could be made.
    bool start(std::vector<std::wstring> folders, FolderStep step, HWND window, UINT message);
    // Stops before the next folder; the folders done stay done.
    void cancel() { stop_ = true; }
    bool running() const { return thread_.running(); }
    // Waits until the run has ended.
    void wait() { thread_.wait(); }
    // The outcomes of the folders finished since the last call, by place.
    std::vector<std::pair<std::size_t, FolderOutcome>> take();

private:
    static DWORD WINAPI work(void* self);
    void post(std::size_t index, Event event) const;

    std::vector<std::wstring> folders_;
    FolderStep step_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::atomic<bool> stop_ = false;
    WorkerThread thread_;
    struct Outcomes {
        Outcomes() { InitializeCriticalSection(&lock); }
        ~Outcomes() { DeleteCriticalSection(&lock); }
        CRITICAL_SECTION lock;
        std::vector<std::pair<std::size_t, FolderOutcome>> outcomes;
    };
    std::unique_ptr<Outcomes> finished_; // made by the first run: nothing of it at start-up
};
