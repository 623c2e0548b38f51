#pragma once
// How long a window takes to answer while it works: what the probes of the preview and
// of a command over many folders watch.
#include "Measure.h"

#include <windows.h>

#include <algorithm>

// Handles the messages waiting; true when there were any (sent ones are not counted).
inline bool pump()
{
    MSG message;
    bool any = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return any;
}

// Sends the window an empty message every few milliseconds from a thread of its own, as
// another program or the system would, and keeps the longest wait for the answer.
class ResponseWatch {
public:
    explicit ResponseWatch(HWND window) : window_(window)
    {
        thread_ = CreateThread(nullptr, 0, &ResponseWatch::run, this, 0, nullptr);
    }
    ResponseWatch(const ResponseWatch&) = delete;
    ResponseWatch& operator=(const ResponseWatch&) = delete;
    ~ResponseWatch() { stop(); }
    double stop()
    {
        if (thread_) {
            InterlockedExchange(&stopping_, 1);
            // The window's thread answers while it waits here.
            while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
                pump();
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        return longest_;
    }

private:
    static DWORD WINAPI run(void* self)
    {
        auto& watch = *static_cast<ResponseWatch*>(self);
        while (!InterlockedCompareExchange(&watch.stopping_, 0, 0)) {
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(watch.window_, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
            watch.longest_ = std::max(watch.longest_, millisecondsSince(start));
            Sleep(5);
        }
        return 0;
    }

    HWND window_;
    HANDLE thread_ = nullptr;
    volatile LONG stopping_ = 0;
    double longest_ = 0;
};
