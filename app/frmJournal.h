#pragma once
#include "app/BaseWindow.h"
#include "app/UndoCommand.h"
#include "folderview/FolderFiles.h"
#include "resources/JournalLayout.h"
#include "undo/Journal.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

// The journal of commands ("Журнал"): the recent commands, newest first, each with its
// time, its folders and whether it can still be undone. Modal; it undoes nothing itself,
// but says which command the user chose to take back.
class frmJournal : public BaseWindow<frmJournal> {
public:
    static constexpr wchar_t kClassName[] = L"QuenmarkJournal";
    // The rows it lists at most: the newest commands.
    static constexpr std::size_t kRows = 500;

    frmJournal(Components& components, FolderFiles& files, const Journal& journal)
        : components_(components), files_(files), journal_(journal)
    {
    }
    ~frmJournal() { close(); }

    // Shows the journal (already read) over owner until it is closed; the id of the
    // entry chosen to undo, or empty.
    std::wstring showModal(HWND owner);

private:
    friend class BaseWindow<frmJournal>;
    static const WindowSpec kSpec;
    static const CommandRoute<frmJournal> kRoutes[];
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void onUndo(int);
    void onClose(int) { close(); }
    void showRow(NMLVDISPINFOW& row);
    // The chosen row's entry, whose state is learnt when it is first drawn.
    const JournalEntry* chosen(bool& undoable);
    void enableUndo();

    struct Row {
        std::size_t entry;
        bool known = false; // its state read
        bool undoable = false;
        EntryState state = EntryState::Nothing;
    };
    Row& rowAt(std::size_t place);

    Components& components_;
    FolderFiles& files_;
    const Journal& journal_;
    std::vector<Row> rows_;
    std::wstring chosen_;
};
