#pragma once
#include "batch/BatchRun.h"
#include "folderview/CloudFolder.h"
#include "folderview/CommandOutcome.h"
#include "support/Components.h"
#include "undo/UndoOutcome.h"

#include <windows.h>

#include <string>

// How the user is told what a command came to: the text, the message box's icon, and
// whether the error reporter shows it with the system's error.
struct OutcomeMessage {
    std::wstring text;
    UINT icon = MB_ICONSTOP;
    bool reported = false;
};

// The one place where an outcome's message is chosen, for every window that runs a
// command. After Done, cloud, the folder's sync client, is named when it leaves the
// settings on this computer.
OutcomeMessage outcomeMessage(const CommandOutcome& outcome, CloudClient cloud = CloudClient::None);
// The same for undo in one folder.
OutcomeMessage outcomeMessage(const UndoOutcome& outcome);
// Why a folder of a command over many is not done, on one line, as the list and the
// account say it: its message, with the system's error where a box would report it.
std::wstring whyNotDone(const FolderOutcome& outcome);

// The sync client that keeps the folder, by the system's environment and files.
CloudClient folderCloud(const std::wstring& folder);

// Tells the user what a command on folder came to, in a box owned by owner or through
// the error reporter (after Apply, with the folder's sync client where it matters);
// after Done it tells the shell that the folder changed, so that an open folder window
// shows its new look. True for Done.
bool showOutcome(Components& components, HWND owner, const CommandOutcome& outcome, const std::wstring& folder);
// The same for undo in the folder.
bool showOutcome(Components& components, HWND owner, const UndoOutcome& outcome, const std::wstring& folder);
