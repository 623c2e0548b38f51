#pragma once

// Shows the hourglass over the program's windows for as long as an instance lives,
// so that every way out of a command puts the pointer back.
class BusyPointer {
public:
    BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    ~BusyPointer();

    // For WM_SETCURSOR: while a command runs, shows the hourglass and is true (the
    // message is handled); otherwise false, and the window shows its own pointer.
    static bool setCursor();
};
