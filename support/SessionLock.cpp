#include "support/SessionLock.h"

SessionLock::SessionLock(const wchar_t* name, DWORD timeout) : mutex_(CreateMutexW(nullptr, FALSE, name))
{
    // Whatever the process that abandoned it left half done is the next holder's to mend.
    const DWORD waited = mutex_ ? WaitForSingleObject(mutex_.get(), timeout) : WAIT_FAILED;
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (!held_)
        error_ = waited == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
}

SessionLock::~SessionLock()
{
    if (held_)
        ReleaseMutex(mutex_.get());
}
