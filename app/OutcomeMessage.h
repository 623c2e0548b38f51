#pragma once
#include "folderview/SkinOutcome.h"

#include <windows.h>

#include <string>

// How the user is told what a command came to: the text, the message box's icon, and
// whether the error reporter shows it with the system's error.
struct OutcomeMessage {
    std::wstring text;
    UINT icon = MB_ICONSTOP;
    bool reported = false;
};

// The one place where an outcome's message is chosen, for every window that runs a command.
OutcomeMessage outcomeMessage(const SkinOutcome& outcome);
