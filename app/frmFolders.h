#pragma once
#include "app/BaseWindow.h"
#include "batch/BatchRun.h"
#include "batch/FolderList.h"
#include "batch/SubfolderSearch.h"
#include "folderview/FolderFiles.h"
#include "support/Components.h"
#include "app/FolderSteps.h"
#include "undo/Journal.h"
#include "undo/JournalStore.h"

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The list of folders the commands act on ("Папки"): a window beside the main one, not
// modal, that lists each folder, what it holds and what the latest command came to
// there. It runs a command over the folders off the window thread, shows how far it
// is with a button that stops it, then the account; the folders not done can be run
// again, and the folders the command changed put back as they were.
class frmFolders : public BaseWindow<frmFolders> {
public:
    static constexpr wchar_t kClassName[] = L"QuenmarkFolders";

    frmFolders(Components& components, FolderFiles& files, JournalStore& store, Journal& journal);
    ~frmFolders() { close(); }

    FolderList& list() { return list_; }
    const FolderList& list() const { return list_; }
    // Opens the window beside its owner, or brings it to the front. False when the
    // window could not be made.
    bool open(HWND owner);
    // Shows the list again after an edit from outside.
    void refresh();
    // A command, or the search for a folder's subfolders, is in hand.
    bool running() const { return commandInHand_ || searchInHand_; }
    // A command over the folders, not the search, is in hand.
    bool commandRunning() const { return commandInHand_; }
    // Runs a command over every listed folder, the window open. False while one runs.
    bool run(HWND owner, FolderStep step);
    // Stops the command in hand before its next folder and waits for the one in hand;
    // the account says how far it came. Its end finishes its journal entry.
    void stop();
    // "Вернуть как было" of the latest command that changed any listed folder, in every
    // one of its folders that is listed, the window open.
    void undo(HWND owner);
    // "Вернуть как было" of the entry, in its folders that it changed, which become the list.
    void undoEntry(HWND owner, const JournalEntry& entry);
    // The window's keys, before the focused control sees them. True when handled.
    bool preTranslateMessage(MSG& message);
    // Esc hides the list, Ctrl+Z undoes, Delete takes out the chosen folders.
    static std::vector<ACCEL> keyTable();

    // After the user added or took out folders.
    std::function<void()> listEdited;

private:
    friend class BaseWindow<frmFolders>;
    static const WindowSpec kSpec;
    static const CommandRoute<frmFolders> kRoutes[];
    enum class Mode { Command, Undo, UndoAnyway };

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void onAdd(int button);
    void onTakeOut(int);
    void onRetry(int);
    void onUndo(int) { undo(owner_); }
    void onCancel(int)
    {
        run_.cancel();
        search_.cancel();
    }
    void onKey(WORD id);
    void onSearchEnded();
    bool start(Mode mode, const std::vector<std::size_t>& places, const FolderStep& step);
    void startUndo(const JournalEntry& entry, const std::vector<std::size_t>& places);
    // Whether the journal holds a command that undo would take back here.
    void findUndoable();
    void onBatch(std::size_t index, LPARAM event);
    void onTimer();
    void showProgress();
    // Once the command's thread has ended: its last outcomes.
    void endCommand();
    void finish();
    // The folders the latest command's account covers.
    std::vector<std::size_t> scope() const;
    void showRow(NMLVDISPINFOW& row);
    void enableButtons();
    // After folders were added or taken out.
    void edited();
    void showMessage(const std::wstring& text, UINT icon) const;

    Components& components_;
    FolderFiles& files_;
    JournalStore& store_;
    Journal& journal_;
    FolderList list_;
    BatchRun run_;
    SubfolderSearch search_;
    Mode mode_ = Mode::Command;
    FolderStep command_; // the latest command, for the folders it did not do
    std::vector<std::size_t> places_; // the list's places of the folders the run was given
    std::vector<std::size_t> undone_; // the folders the latest undo was given
    std::shared_ptr<const JournalEntry> undoing_; // the entry the latest undo takes back
    bool undoable_ = false;
    std::size_t current_ = 0; // the run's folder in hand, by its place in places_
    // Until the window has taken the command's or the search's end: told by a posted
    // message, or found on the timer when that message was lost (a full queue).
    bool commandInHand_ = false;
    bool searchInHand_ = false;
    AcceleratorTable keys_; // made on the first key
};
