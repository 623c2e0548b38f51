#pragma once
#include "app/BaseWindow.h"
#include "app/frmFolders.h"
#include "app/frmPreview.h"
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"
#include "resources/MainLayout.h"
#include "support/Components.h"
#include "support/Handles.h"
#include "undo/Journal.h"
#include "undo/JournalStore.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// The main window. It holds the editing state in its controls, routes their events to
// the folder view logic and the component dialogs, and moves state between the two.
class frmMain : public BaseWindow<frmMain> {
public:
    static constexpr wchar_t kClassName[] = L"QuenmarkMain";

    // store: the journal, where each command records the folders as they were, for undo.
    frmMain(Components& components, FolderFiles& files, JournalStore& store);

    // Creates the window, runs its load sequence on the command line's argument text
    // and shows it. False when the window could not be made.
    bool show(const std::wstring& arguments);
    bool isLoaded() const { return window_ != nullptr; }

    // Gives the window each key press before the focused control and the dialog
    // manager see it. True when the message has been handled in full.
    bool preTranslateMessage(MSG& message);
    // The window's keys: each system menu command's, Shift+F1 (the about box) and Esc.
    static std::vector<ACCEL> keyTable();

    FolderLookState state() const;

    // Takes folders that arrive together (a selection in Explorer, a command line naming
    // several, a drop): more than one are listed, and the commands act on all of them.
    void addFolders(const std::vector<std::wstring>& folders);

private:
    friend class BaseWindow<frmMain>;
    static const WindowSpec kSpec;
    static const CommandRoute<frmMain> kRoutes[];
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void load(const std::wstring& arguments);
    void onKey(WORD id);
    void highlight(int box);
    void onBrowsePicture(int);
    void onBrowseFolder(int);
    void chooseFolder(const std::wstring& folder);
    void onDropFiles(HDROP drop);
    void onBrowseColor(int button);
    void openFolderInfo();
    // One handler for both cmdSkin buttons: index 0 applies, index 1 removes.
    void cmdSkinClick(int id);
    void LoadFolderSettings();
    bool loadFolder(const std::wstring& folder, const std::wstring& kept);
    void showState(const FolderLookState& state);
    // A failure, in a message box over the window.
    void showMessage(const std::wstring& text) const;
    void extendSystemMenu();
    void switchFolderCommand();
    void openPreview();
    void undo();
    void openJournal();
    // A command of this user that a start finds unfinished is named once, and its
    // folders put back when the user says so.
    void askAboutUnfinished();
    void followPreview();
    void openFolders();
    // While the folders' command runs no other starts: says so, and true.
    bool busy() const;
    // Closing while the folders' command runs asks first; a yes stops it and shows its
    // account. True when the window may go.
    bool mayClose();
    // The folder the commands act on alone, or the first of several listed.
    std::wstring folder() const;
    // The folders the commands act on, one spelling each.
    std::vector<std::wstring> folders() const;
    // Shows the listed folders in the folder box, and the first one's settings.
    void showFolders();

    Components& components_;
    FolderFiles& files_;
    JournalStore& store_;
    Journal journal_; // read on the window thread, only while no command runs
    frmPreview preview_;
    frmFolders folders_; // the window is made only when opened or when folders arrive
    std::wstring loadedPicture_; // the picture text as the folder's file last gave it

    // A command of the system menu, with its key (0: none) and the Shift, Ctrl and Alt
    // keys held with it (the bits 1, 2 and 4).
    struct MenuCommand {
        Text caption;
        int key;
        void (frmMain::*run)();
        int shift = 0;
    };
    static const MenuCommand kMenuCommands[];
    static UINT menuId(void (frmMain::*run)());
    AcceleratorTable keys_; // made on the first key
};

// Runs the window's events until it is unloaded; the program's exit code.
int runMessageLoop(frmMain& form);
