#pragma once
#include "resources/LayoutTable.h"

// The layout of the journal of commands (see LayoutTable.h).

enum JournalControlId : int {
    lstJournal = 400, // the recent commands, newest first
    cmdUndoEntry,
    cmdCloseJournal,
};

inline constexpr int kJournalClientWidth = 600;
inline constexpr int kJournalClientHeight = 289;
// The columns' widths: when, the command, its folders, whether it can be undone.
inline constexpr int kJournalColumnWidths[] = {110, 120, 200, 146};

inline constexpr ControlSpec kJournalControls[] = {
    {lstJournal, ControlKind::List, {}, 12, 12, 576, 224},
    {cmdUndoEntry, ControlKind::DefaultButton, {L"Вернуть как было", L"Undo"}, 382, 248, 120, 29},
    {cmdCloseJournal, ControlKind::Button, {L"Закрыть", L"Close"}, 508, 248, 80, 29},
};
