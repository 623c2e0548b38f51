#include "support/WorkerThread.h"

bool WorkerThread::start(LPTHREAD_START_ROUTINE work, void* argument)
{
    if (running())
        return false;
    wait();
    thread_.reset(CreateThread(nullptr, 0, work, argument, CREATE_SUSPENDED, nullptr));
    if (!thread_)
        return false;
    SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread_.get());
    return true;
}

bool WorkerThread::running() const
{
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void WorkerThread::wait()
{
    if (!thread_)
        return;
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}
