#pragma once

// Shows the hourglass over the program's windows for as long as an instance lives,
// so that every way out of a command puts the pointer back.
class BusyPointer {
public:
    BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    ~BusyPointer();

    // For WM_SETCURSOR: true while a command runs (the handler then shows the hourglass).
    static bool active();
    // Shows the pointer that fits the current state.
    static void apply();
};
