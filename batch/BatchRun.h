#pragma once
#include "folderview/CloudFolder.h"
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
    std::wstring formerIcon = {}; // Done: the command's (CommandOutcome::formerIcon)
    CloudClient cloud = CloudClient::None; // Done by Apply: the sync client that leaves the settings here
};

// A command over many folders, run off the window thread, so it shows nothing.
class BatchWork {
public:
    virtual ~BatchWork() = default;
    // Before the folders from first to last (not included) run: what they need first is
    // readied for all of them at once.
    virtual void prepare(std::size_t first, std::size_t last) = 0;
    virtual FolderOutcome run(std::size_t index) = 0;
    // After the last folder, or after Cancel.
    virtual void end() = 0;
};

// Runs a command over folders one after another on a thread of its own, so that the
// windows keep answering, kGroup folders prepared at a time. Each folder stands alone: a
// failure does not stop the others. The window learns of each start and end by a
// posted message (wParam: the folder's place in the list given to start; lParam: one
// of the Event values); a full queue loses a message, so the window also asks running().
class BatchRun {
public:
    enum Event : LPARAM { Started, Finished, Ended };
    static constexpr std::size_t kGroup = 25;

    BatchRun() = default;
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;
    // Stops before the next folder and waits for the one in hand.
    ~BatchRun();

    // False when a run is in hand or no thread could be made.
    bool start(std::size_t count, std::unique_ptr<BatchWork> command, HWND window, UINT message);
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

    std::size_t count_ = 0;
    std::unique_ptr<BatchWork> work_;
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
