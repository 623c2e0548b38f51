#pragma once
#include "support/Handles.h"

#include <windows.h>

// One thread at a time for work off the window thread, below its priority so that the
// windows keep answering while it works.
class WorkerThread {
public:
    // False while the previous one runs, or when no thread could be made; one that
    // ended is waited for first.
    bool start(LPTHREAD_START_ROUTINE work, void* argument);
    bool running() const;
    // Until the thread has ended.
    void wait();

private:
    ThreadHandle thread_;
};
