#pragma once
#include "folderview/FolderFiles.h"
#include "support/Components.h"
#include "undo/FolderRecord.h"
#include "undo/Journal.h"
#include "undo/JournalStore.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// "Вернуть как было" as both windows offer it, through the journal of commands.

// A command's name for its entry: the caption of the button pressed and of its window,
// and the time now.
CommandName commandName(HWND button, HWND window);
// Undo's own name, as the journal lists it.
CommandName undoName(HWND window);

// "8 декабря, 10:40"
std::wstring entryTime(const RecordTime& time);
// "Установить!, 300 папок, 8 декабря, 10:40": the entry as a menu or a question names it.
std::wstring entryName(const JournalEntry& entry);

// The system menu's item for the folders (their one spelling each): "Вернуть как было
// (Установить!, 7 декабря, 16:40)" with its key, naming the command undo would take
// back; enabled only when there is one.
std::wstring undoMenuCaption(Journal& journal, const std::vector<std::wstring>& folders, bool& enabled);

// The entry with its records, for undo to put its folders back; null when it cannot be read.
std::shared_ptr<const JournalEntry> readWholeEntry(JournalStore& store, const JournalEntry& summary);

// Undoes the latest command that changed the folder, asking first when a file changed
// since (No changes nothing). True when done: the user and the shell are told, and the
// window closes as after Apply.
bool runUndo(Components& components, FolderFiles& files, JournalStore& store, Journal& journal, HWND owner,
             const std::wstring& folder);
// The same for the entry's change in one of its folders (its one spelling).
bool undoEntryFolder(Components& components, FolderFiles& files, JournalStore& store, HWND owner,
                     const JournalEntry& entry, const std::wstring& folder);

// Whether the journal's entry can be undone: in all its folders it changed, not where
// someone altered the files since, not where an undo took it back already.
enum class EntryState {
    Running, // its command is still in hand, in this program or another
    Undone, // an undo took back every folder it changed
    Nothing, // it changed no folder
    Partly, // someone altered the files of a folder since
    Undoable,
    Unfinished, // its command stopped in its middle; what it did can be undone
};
// undoable: whether "Вернуть как было" has anything to do.
EntryState entryState(FolderFiles& files, const Journal& journal, std::size_t entry, bool& undoable);
// The state in the journal window's words.
std::wstring entryStateText(EntryState state);
// Its folders as a row names them: "300 папок: D:\Фото4; D:\Фото5; …"
std::wstring entryFolders(const JournalEntry& entry);

// The entries a start finds unfinished, by programs that have gone; those that did
// finish but for the mark of their file are closed here, unasked.
std::vector<JournalEntry> findUnfinished(JournalStore& store, FolderFiles& files);

// A command of this user that did not finish (the program or the machine stopped in its
// middle): its temporary files cleared away and the entry marked finished, so that it is
// asked about once and stays in the journal, undoable.
TsStatus closeUnfinished(JournalStore& store, FolderFiles& files, const JournalEntry& summary);
