#include "app/frmMain.h"

#include "app/Controls.h"
#include "app/FolderCommand.h"
#include "app/FolderListText.h"
#include "app/FolderSteps.h"
#include "app/OutcomeMessage.h"
#include "app/PicturePicker.h"
#include "app/SettingControls.h"
#include "app/UndoCommand.h"
#include "app/frmFolderInfo.h"
#include "app/frmJournal.h"
#include "folderview/FolderInfo.h"
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "resources/Messages.h"
#include "support/AppInfo.h"
#include "support/BusyPointer.h"
#include "support/ColorSwatch.h"
#include "support/ShellFunctions.h"
#include "support/tsAnsi.h"
#include "support/tsFile.h"
#include "support/tsText.h"
#include "support/tsWindow.h"

#include <algorithm>
#include <iterator>

namespace {

// Posted once the window shows: the journal is looked at after the window is up.
constexpr UINT kLookAtJournal = WM_APP + 1;

constexpr int kShiftNone = 0;
constexpr int kShiftOnly = 1;
constexpr int kCtrlOnly = 2;

// Why a text could not be used, in words for the user.
std::wstring reason(std::uint32_t error)
{
    if (error == TsStatus::kNoUnicodeMapping)
        return kUnrepresentable.c_str();
    if (error == TsStatus::kPathTooLong)
        return kPathTooLong.c_str();
    return errorText(errorInfo(error), kErrorNumber.c_str());
}

// The whole current directory, however long; empty when it cannot be read.
std::wstring currentDirectory()
{
    std::wstring folder;
    for (DWORD size = GetCurrentDirectoryW(0, nullptr); size > folder.size();) {
        folder.resize(size);
        size = GetCurrentDirectoryW(size, folder.data());
        if (size < folder.size()) {
            folder.resize(size);
            return folder;
        }
    }
    return {};
}

// A window disabled for as long as the scope lasts (none: nothing to do). The list is,
// while a modal window of ours shows: a command it started then and ended with all done
// would close the program, and the modal window with what the user typed in it.
class DisabledWindow {
public:
    explicit DisabledWindow(HWND window) : window_(window) { EnableWindow(window_, FALSE); }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;
    ~DisabledWindow() { EnableWindow(window_, TRUE); }

private:
    HWND window_;
};

} // namespace

// In the menu's order; a row's place gives its id (systemMenuId). One row a line:
// clang-format off
const frmMain::MenuCommand frmMain::kMenuCommands[] = {
    {kPreviewMenuItem, VK_F3, &frmMain::openPreview},
    {kFolderInfoMenuItem, VK_F4, &frmMain::openFolderInfo},
    {kFolderCommandMenuItem, 0, &frmMain::switchFolderCommand},
    {kUndoMenuItem, 'Z', &frmMain::undo, kCtrlOnly},
    {kFoldersMenuItem, VK_F5, &frmMain::openFolders},
    {kJournalMenuItem, VK_F6, &frmMain::openJournal},
};
// clang-format on

std::vector<ACCEL> frmMain::keyTable()
{
    std::vector<KeyCommand> keys;
    for (unsigned place = 0; place < std::size(kMenuCommands); ++place) {
        if (kMenuCommands[place].key)
            keys.push_back({kMenuCommands[place].key, kMenuCommands[place].shift, keyCommandId(place)});
    }
    keys.push_back({VK_F1, kShiftOnly, keyAboutBox});
    keys.push_back({VK_ESCAPE, kShiftNone, keyClose});
    return window_base::acceleratorEntries(keys);
}

UINT frmMain::menuId(void (frmMain::*run)())
{
    for (unsigned place = 0; place < std::size(kMenuCommands); ++place) {
        if (kMenuCommands[place].run == run)
            return systemMenuId(place);
    }
    return 0;
}

const WindowSpec frmMain::kSpec = {
    .className = kClassName,
    .caption = {kMainCaption, kMainCaption},
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    // Files dropped from Explorer choose the folder or the picture; the style, unlike
    // the shell's registration call, needs no library at start-up.
    .exStyle = WS_EX_ACCEPTFILES,
    .clientWidth = kMainClientWidth,
    .clientHeight = kMainClientHeight,
    .controls = kMainControls,
    .defaultButton = cmdSkin0,
};

const CommandRoute<frmMain> frmMain::kRoutes[] = {
    {txtWorkFolder, EN_SETFOCUS, &frmMain::highlight},
    {txtPicture, EN_SETFOCUS, &frmMain::highlight},
    {cmdBrowseFolder, BN_CLICKED, &frmMain::onBrowseFolder},
    {cmdBrowse, BN_CLICKED, &frmMain::onBrowsePicture},
    {cmdBrowseTextColor, BN_CLICKED, &frmMain::onBrowseColor},
    {cmdBrowseBackColor, BN_CLICKED, &frmMain::onBrowseColor},
    {cmdSkin0, BN_CLICKED, &frmMain::cmdSkinClick},
    {cmdSkin1, BN_CLICKED, &frmMain::cmdSkinClick},
};

frmMain::frmMain(Components& components, FolderFiles& files, JournalStore& store)
    : components_(components),
      files_(files),
      store_(store),
      journal_(store),
      preview_(components),
      folders_(components, files, store, journal_)
{
    folders_.listEdited = [this] { showFolders(); };
}

bool frmMain::show(const std::wstring& arguments)
{
    if (!registerColorSwatch() || !create(nullptr))
        return false;
    SendMessageW(control(shpTextColor), kSwatchSetColor, kBlack, 0);
    SendMessageW(control(shpBackColor), kSwatchSetColor, kWhite, 0);
    load(arguments);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    PostMessageW(window_, kLookAtJournal, 0, 0);
    return true;
}

// The commands go after a separator, before "Close", once. The system menu gets them
// when it is first opened: a window's own copy of it costs start-up time and memory.
// The folders' command is checked as the registry holds it each time the menu opens,
// since another copy of the program may have changed it meanwhile; so is the folder's
// record, which names the command that undo would take back.
void frmMain::extendSystemMenu()
{
    const HMENU menu = GetSystemMenu(window_, FALSE);
    if (GetMenuState(menu, systemMenuId(0), MF_BYCOMMAND) == static_cast<UINT>(-1)) {
        for (unsigned place = 0; place < std::size(kMenuCommands); ++place)
            InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, systemMenuId(place), kMenuCommands[place].caption);
        InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
    }
    std::wstring exe;
    const bool ours = tsGetExePath(exe) && isFolderCommandOf(exe);
    CheckMenuItem(menu, menuId(&frmMain::switchFolderCommand), MF_BYCOMMAND | (ours ? MF_CHECKED : MF_UNCHECKED));
    // While a command runs no other starts, and the journal is the command's.
    bool undoable = false;
    const std::wstring undo =
        folders_.running() ? std::wstring(kUndoMenuItem) + kUndoKey : undoMenuCaption(journal_, folders(), undoable);
    const UINT undoId = menuId(&frmMain::undo);
    ModifyMenuW(menu, undoId, MF_BYCOMMAND | MF_STRING | (undoable ? MF_ENABLED : MF_GRAYED), undoId, undo.c_str());
}

bool frmMain::busy() const
{
    if (!folders_.running())
        return false;
    components_.tell(window_, kBusy.c_str(), MB_ICONINFORMATION);
    return true;
}

bool frmMain::mayClose()
{
    if (!folders_.commandRunning())
        return true;
    if (!components_.askYes(window_, kStopBatchQuestion.c_str()))
        return false;
    folders_.stop();
    return true;
}

// Removes this exe's command from the folders' menu, or adds it when the menu lacks it
// or it starts another exe. A key holding what this program did not write is replaced
// only when the user says yes.
void frmMain::switchFolderCommand()
{
    using Kind = FolderCommandSwitch::Kind;
    std::wstring exe;
    FolderCommandSwitch done;
    if (const TsStatus found = tsGetExePath(exe); !found)
        done = {Kind::NotAdded, found, L""};
    else
        done = ::switchFolderCommand(exe, false);
    if (done.kind == Kind::Foreign) {
        if (!components_.askYes(window_, kFolderCommandForeign.c_str()))
            return;
        done = ::switchFolderCommand(exe, true);
    }
    // Even a refusal may have deleted a tree.
    components_.associationsChanged();
    if (done.kind == Kind::NotAdded || done.kind == Kind::NotRemoved)
        showMessage(
            aboutPath(L"HKEY_CURRENT_USER\\" + done.failedKey,
                      done.kind == Kind::NotRemoved ? kFolderCommandNotRemoved.c_str() : kFolderCommandNotAdded.c_str(),
                      reason(done.status.error())));
}

void frmMain::undo()
{
    if (folders_.list().size() > 1 || folders_.running())
        folders_.undo(window_);
    else if (runUndo(components_, files_, store_, journal_, window_, folder()))
        (void)tsUnloadForm(window_); // the window goes either way when the program ends
}

void frmMain::openJournal()
{
    if (busy())
        return;
    (void)journal_.refresh(); // what cannot be listed is not shown
    std::wstring chosen;
    {
        const DisabledWindow list(folders_.handle());
        frmJournal dialog(components_, files_, journal_);
        chosen = dialog.showModal(window_);
    }
    const auto& entries = journal_.entries();
    const auto entry =
        std::find_if(entries.begin(), entries.end(), [&](const JournalEntry& e) { return e.id == chosen; });
    if (chosen.empty() || entry == entries.end())
        return;
    const std::vector<std::size_t> folders = journal_.toUndo(static_cast<std::size_t>(entry - entries.begin()));
    if (folders.size() == 1 && folders_.list().size() <= 1) {
        if (undoEntryFolder(components_, files_, store_, window_, *entry, entry->folders[folders[0]].folder))
            (void)tsUnloadForm(window_); // the window goes either way when the program ends
        return;
    }
    folders_.undoEntry(window_, *entry);
}

void frmMain::askAboutUnfinished()
{
    for (const JournalEntry& entry : findUnfinished(store_, files_)) {
        std::size_t reached = 0;
        for (const JournalFolder& folder : entry.folders)
            reached += folder.changed() ? 1 : 0;
        const bool putBack = components_.askYes(
            window_,
            unfinishedQuestion(entry.header.name.command, entryTime(entry.header.name.time), foldersCount(reached)));
        // Either way it is asked about once, and stays in the journal.
        (void)closeUnfinished(store_, files_, entry);
        if (!putBack || !journal_.refresh())
            continue;
        const auto& entries = journal_.entries();
        const auto found =
            std::find_if(entries.begin(), entries.end(), [&](const JournalEntry& e) { return e.id == entry.id; });
        if (found == entries.end())
            continue;
        const std::vector<std::size_t> folders = journal_.toUndo(static_cast<std::size_t>(found - entries.begin()));
        if (folders.size() == 1 && folders_.list().size() <= 1) {
            if (undoEntryFolder(components_, files_, store_, window_, *found, found->folders[folders[0]].folder)) {
                (void)tsUnloadForm(window_); // the window goes either way when the program ends
                return;
            }
        } else if (!folders.empty()) {
            folders_.undoEntry(window_, *found);
            return; // one batch at a time; another unfinished entry is asked about next time
        }
    }
}

void frmMain::openPreview()
{
    (void)preview_.open(window_, state(), loadedPicture_); // without the preview the window works on
}

// With no folders listed yet, the list starts with the window's own.
void frmMain::openFolders()
{
    if (folders_.list().size() == 0)
        folders_.list().add({folder()});
    (void)folders_.open(window_); // without the list the window works on
}

std::wstring frmMain::folder() const
{
    const FolderList& list = folders_.list();
    return list.size() > 1 ? list[0].folder : windowText(control(txtWorkFolder));
}

std::vector<std::wstring> frmMain::folders() const
{
    const FolderList& list = folders_.list();
    if (list.size() <= 1)
        return {tsCanonicalFolder(folder())};
    std::vector<std::wstring> listed;
    for (std::size_t i = 0; i < list.size(); ++i)
        listed.push_back(list[i].folder);
    return listed;
}

void frmMain::showFolders()
{
    FolderList& list = folders_.list();
    if (list.size() == 0) {
        SetWindowTextW(control(txtWorkFolder), L""); // no folder left to act on
        return;
    }
    if (loadFolder(list[0].folder, L""))
        SetWindowTextW(control(txtWorkFolder), list.size() > 1 ? foldersBoxText(list).c_str() : list[0].folder.c_str());
    followPreview();
}

void frmMain::followPreview()
{
    if (preview_.handle())
        preview_.follow(state(), loadedPicture_);
}

// Made centred and with its icons, the window takes its folder.
void frmMain::load(const std::wstring& arguments)
{
    std::wstring folder;
    if (!tsTrimEx2(arguments, kTrimCommandLine, folder) || folder.empty())
        folder = currentDirectory();
    const HWND folderBox = control(txtWorkFolder);
    lastFocus_ = folderBox;
    if (folder.empty()) {
        // No folder to act on: the box stays empty, and Apply and Remove refuse it.
        showMessage(aboutPath(kNoCurrentDirectory.c_str(), reason(GetLastError())));
        return;
    }
    SetWindowTextW(folderBox, folder.c_str());
    const auto length = static_cast<WPARAM>(folder.size());
    SendMessageW(folderBox, EM_SETSEL, length, static_cast<LPARAM>(length));
    LoadFolderSettings();
}

void frmMain::showMessage(const std::wstring& text) const
{
    components_.tell(window_, text, MB_ICONSTOP);
}

void frmMain::LoadFolderSettings()
{
    (void)loadFolder(windowText(control(txtWorkFolder)), L"");
}

// Shows the settings of folder; the caller puts the folder in its box. A folder whose
// settings cannot be read is not shown: the message says why, and what the window
// keeps (kept) when it keeps another.
bool frmMain::loadFolder(const std::wstring& folder, const std::wstring& kept)
{
    FolderLookState state = this->state();
    state.folder = folder;
    if (const TsStatus status = loadFolderLook(files_, state); !status) {
        const std::wstring why = reason(status.error());
        showMessage(aboutPath(folder, kLoadFailed.c_str(), kept.empty() ? why : why + L" " + kept));
        return false;
    }
    showState(state);
    return true;
}

FolderLookState frmMain::state() const
{
    FolderLookState state;
    state.folder = folder();
    readSettings<FolderLookState>(window_, kLookSettings, kLookSettingControls, state);
    return state;
}

// The loader changes the look; folder and copy flag stay as shown.
void frmMain::showState(const FolderLookState& state)
{
    loadedPicture_ = state.picture;
    showSettings<FolderLookState>(window_, kLookSettings, kLookSettingControls, state);
}

bool frmMain::preTranslateMessage(MSG& message)
{
    if (!window_)
        return false;
    if (folders_.preTranslateMessage(message) || window_base::translateKey(window_, keys_, keyTable, message))
        return true;
    return IsDialogMessageW(window_, &message) != 0;
}

void frmMain::onKey(WORD id)
{
    for (unsigned place = 0; place < std::size(kMenuCommands); ++place) {
        if (id == keyCommandId(place))
            (this->*kMenuCommands[place].run)();
    }
    if (id == keyAboutBox)
        components_.aboutBox().show(window_, readAppInfo(), L"", nullptr, kAuthorCredit.c_str());
    // Unloading the last window cannot fail in a way the user could act on.
    if (id == keyClose && mayClose())
        (void)tsUnloadForm(window_);
}

void frmMain::highlight(int box)
{
    (void)tsHighlightText(control(box)); // cannot fail
}

void frmMain::onBrowsePicture(int)
{
    (void)pickPicture(components_, window_, control(txtPicture));
}

void frmMain::onBrowseFolder(int)
{
    if (busy())
        return;
    const auto dialog = components_.newFolderDialog();
    dialog->owner = window_;
    dialog->folder = windowText(control(txtWorkFolder));
    dialog->prompt = kFolderPrompt;
    if (dialog->show())
        chooseFolder(dialog->folder);
}

// A folder chosen in the window becomes the only one the commands act on.
void frmMain::chooseFolder(const std::wstring& folder)
{
    if (busy() || !loadFolder(folder, kFolderKept.c_str()))
        return;
    SetWindowTextW(control(txtWorkFolder), folder.c_str());
    if (folders_.list().size() > 0) {
        folders_.list().clear();
        folders_.list().add({folder});
        folders_.refresh();
    }
}

// One folder dropped chooses it, one file becomes the picture, several folders are
// taken together; anything else is no choice the window can take, and is ignored.
void frmMain::onDropFiles(HDROP drop)
{
    const std::vector<std::wstring> paths = takeDroppedPaths(drop);
    if (paths.size() > 1) {
        if (std::all_of(paths.begin(), paths.end(), tsIsFolder))
            addFolders(paths);
        return;
    }
    const std::wstring path = paths.empty() ? L"" : paths.front();
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    std::string ansi;
    if (!tsToAnsi(path, ansi)) {
        showMessage(aboutPath(path, kNotAccepted.c_str(), kUnrepresentable.c_str()));
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        chooseFolder(path);
    else
        SetWindowTextW(control(txtPicture), path.c_str());
}

// Folders that arrive while the list is closed take the window's place; with the list
// open they join it.
void frmMain::addFolders(const std::vector<std::wstring>& folders)
{
    FolderList& list = folders_.list();
    const bool listOpen = folders_.handle() && IsWindowVisible(folders_.handle());
    if (folders.size() == 1 && !listOpen) {
        chooseFolder(folders.front());
        return;
    }
    if (busy())
        return;
    if (!listOpen)
        list.clear();
    list.add(folders);
    if (list.size() > 1)
        (void)folders_.open(window_); // without the list the window works on
    folders_.refresh();
    showFolders();
}

void frmMain::openFolderInfo()
{
    if (busy())
        return;
    const std::wstring folder = this->folder();
    if (folder.empty()) {
        showMessage(kNoFolder.c_str());
        return;
    }
    FolderInfo info;
    if (const TsStatus status = loadFolderInfo(files_, folder, info); !status) {
        showMessage(aboutPath(folder, kLoadFailed.c_str(), reason(status.error())));
        return;
    }
    frmFolderInfo dialog(components_, files_, store_);
    if (folders_.list().size() > 1) {
        dialog.forEachFolder = [this](FolderStep step) { (void)folders_.run(window_, std::move(step)); };
        dialog.undoEachFolder = [this] { folders_.undo(window_); };
    } else {
        dialog.undoFolder = [this, &dialog, folder] {
            return runUndo(components_, files_, store_, journal_, dialog.handle(), folder);
        };
    }
    const DisabledWindow list(folders_.handle());
    dialog.showModal(window_, folder, info);
}

void frmMain::onBrowseColor(int button)
{
    const int swatch = button == cmdBrowseTextColor ? shpTextColor : shpBackColor;
    const auto dialog = components_.newColorDialog();
    dialog->owner = window_;
    dialog->color = static_cast<std::int32_t>(SendMessageW(control(swatch), kSwatchGetColor, 0, 0));
    if (dialog->show())
        SendMessageW(control(swatch), kSwatchSetColor, static_cast<WPARAM>(dialog->color), 0);
}

void frmMain::cmdSkinClick(int id)
{
    if (busy())
        return;
    const int index = id - cmdSkin0;
    const BusyPointer hourglass;
    const FolderLookState look = state();
    const Command action = index == 0 ? Command::Apply : Command::Remove;
    if (folders_.list().size() > 1) {
        (void)folders_.run(window_, lookStep(files_, store_, commandName(control(id), window_), look, action));
        return;
    }
    const CommandOutcome outcome = runRecorded(files_, store_, look.folder, commandName(control(id), window_),
                                               [&](FolderFiles& files, const std::wstring& folder) {
                                                   FolderLookState own = look;
                                                   own.folder = folder; // its one spelling, as the journal names it
                                                   return runLookCommand(files, own, action);
                                               });
    if (showOutcome(components_, window_, outcome, look.folder))
        (void)tsUnloadForm(window_); // the window goes either way when the program ends
}

bool frmMain::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    // Whatever a command or a drop changed shows in the preview at once.
    case WM_COMMAND:
        if (HIWORD(wParam) == 1) // a key's
            onKey(LOWORD(wParam));
        if (window_)
            followPreview();
        return true;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        followPreview();
        return true;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam)) // the system menu
            extendSystemMenu();
        return false;
    case WM_SYSCOMMAND:
        for (unsigned place = 0; place < std::size(kMenuCommands); ++place) {
            if ((wParam & 0xFFF0) == systemMenuId(place)) {
                (this->*kMenuCommands[place].run)();
                return true;
            }
        }
        return false;
    case WM_CTLCOLORSTATIC:
        // The read-only folder box keeps the button-face background of a disabled-looking field.
        if (reinterpret_cast<HWND>(lParam) != control(txtWorkFolder))
            return false;
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    case kLookAtJournal: askAboutUnfinished(); return true;
    case WM_CLOSE:
        if (mayClose())
            DestroyWindow(window_);
        return true;
    case WM_DESTROY: PostQuitMessage(0); return true;
    default: return false;
    }
}

int runMessageLoop(frmMain& form)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.preTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
