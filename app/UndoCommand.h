#pragma once
#include "folderview/FolderFiles.h"
#include "support/Components.h"
#include "undo/FolderUndo.h"

#include <windows.h>

#include <string>

// "Вернуть как было" as both windows offer it, for the folder they show.

// A command's name for its record: the caption of the button pressed and of its window,
// and the time now.
CommandName commandName(HWND button, HWND window);

// The system menu's item: "Вернуть как было (Установить!, 7 декабря, 16:40)" with its
// key; enabled only when the folder has a record to undo.
std::wstring undoMenuCaption(FolderFiles& files, RecordStore& store, const std::wstring& folder, bool& enabled);

// Undoes the folder's latest change, asking first when a file changed since (No changes
// nothing). True when done: the user and the shell are told, and the window closes as
// after Apply.
bool runUndo(Components& components, FolderFiles& files, RecordStore& store, HWND owner, const std::wstring& folder);
