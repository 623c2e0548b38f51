#pragma once
#include "support/Handles.h"
#include "support/TsStatus.h"

#include <windows.h>

// A lock that one process of the user's session holds at a time, for as long as the
// scope lasts: a named mutex. A lock abandoned by a process that ended is taken.
class SessionLock {
public:
    // Waits at most timeout milliseconds for the lock of that name.
    SessionLock(const wchar_t* name, DWORD timeout);
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;
    ~SessionLock();
    // Success while held; else why it was not taken (ERROR_TIMEOUT when the wait ran out).
    TsStatus status() const { return held_ ? TsStatus() : TsStatus::failure(error_); }

private:
    MutexHandle mutex_;
    bool held_ = false;
    DWORD error_ = 0;
};
