#pragma once
#include "folderview/CloudFolder.h"
#include "folderview/CommandOutcome.h"
#include "support/Job.h"
#include "undo/UndoOutcome.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// What one folder of a command over many came to, as data: the window that shows it
// says it in the user's words (whyNotDone).
struct FolderOutcome {
    enum class State {
        Waiting, // not reached by the latest command (listed, or stopped before it)
        Done,
        Failed,
        Altered, // undo found files altered since the command (why: the files); nothing restored
    };
    State state = State::Waiting;
    // Failed or Altered: what the command or the undo reported; nothing when the step threw.
    std::variant<std::monostate, CommandOutcome, UndoOutcome> why = {};
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

// Runs a command over folders one after another on a thread of its own (a Job), so that
// the windows keep answering, kGroup folders prepared at a time. Each folder stands
// alone: a failure, or a step that throws, fails that folder, not the others. The window
// learns of each start and end by a posted message (wParam: the folder's place in the
// list given to start; lParam: one of the Event values); a full queue loses a message,
// so the window also asks running().
class BatchRun {
public:
    enum Event : LPARAM { Started, Finished, Ended };
    static constexpr std::size_t kGroup = 25;

    // False when a run is in hand or no thread could be made.
    bool start(std::size_t count, std::unique_ptr<BatchWork> command, HWND window, UINT message);
    // Stops before the next folder; the folders done stay done.
    void cancel() { job_.cancel(); }
    bool running() const { return job_.running(); }
    // Waits until the run has ended.
    void wait() { job_.wait(); }
    // The outcomes of the folders finished since the last call, by place.
    std::vector<std::pair<std::size_t, FolderOutcome>> take();

private:
    class Steps;

    // Made by start, whole, so that the thread only fills in one folder's after another
    // and an outcome never fails to be kept.
    std::vector<FolderOutcome> outcomes_;
    std::atomic<std::size_t> finished_ = 0; // the outcomes filled in, from the first
    std::size_t taken_ = 0;
    Job job_; // last: it is cancelled and waited for before the outcomes go
};
