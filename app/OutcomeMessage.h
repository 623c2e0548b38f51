#pragma once
#include "folderview/CommandOutcome.h"
#include "support/Components.h"

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
OutcomeMessage outcomeMessage(const CommandOutcome& outcome);

// Tells the user what a command on folder came to, in a box owned by owner or through
// the error reporter; after Done it tells the shell that the folder changed, so that an
// open folder window shows its new look. True for Done.
bool showOutcome(Components& components, HWND owner, const CommandOutcome& outcome, const std::wstring& folder);
