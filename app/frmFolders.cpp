#include "app/frmFolders.h"

#include "app/Controls.h"
#include "app/FolderListText.h"
#include "app/FolderSteps.h"
#include "app/OutcomeMessage.h"
#include "app/UndoCommand.h"
#include "folderview/LookSettings.h"
#include "resources/FoldersLayout.h"
#include "resources/Messages.h"
#include "support/tsFile.h"
#include "support/tsWindow.h"

namespace {

// Posted by the batch's thread (BatchRun) and the subfolders' (SubfolderSearch).
constexpr UINT kBatchEvent = WM_APP + 1;
constexpr UINT kSearchEnded = WM_APP + 2;
// While a command runs, the list and its progress are redrawn at this pace, not once a
// folder: a folder takes a few milliseconds, and the window must keep answering. The
// same timer finds a command or a search whose end message was lost.
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT kShowEveryMs = 100;
// The folders a question or a message names; the list shows them all.
constexpr std::size_t kFoldersNamed = 5;

} // namespace

const WindowSpec frmFolders::kSpec = {
    .className = kClassName,
    .caption = kFoldersCaption,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    .exStyle = 0,
    .clientWidth = kFoldersClientWidth,
    .clientHeight = kFoldersClientHeight,
    .controls = kFoldersControls,
    .centred = false,
};

const CommandRoute<frmFolders> frmFolders::kRoutes[] = {
    {cmdAddFolder, BN_CLICKED, &frmFolders::onAdd},   {cmdAddSubfolders, BN_CLICKED, &frmFolders::onAdd},
    {cmdTakeOut, BN_CLICKED, &frmFolders::onTakeOut}, {cmdRetry, BN_CLICKED, &frmFolders::onRetry},
    {cmdUndoBatch, BN_CLICKED, &frmFolders::onUndo},  {cmdCancelBatch, BN_CLICKED, &frmFolders::onCancel},
};

frmFolders::frmFolders(Components& components, FolderFiles& files, JournalStore& store, Journal& journal)
    : components_(components),
      files_(files),
      store_(store),
      journal_(journal)
{
}

bool frmFolders::open(HWND owner)
{
    if (!window_) {
        const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        if (!create(owner))
            return false;
        const HWND listView = control(lstFolders);
        showListColumns(listView, kFoldersColumns, kFoldersColumnWidths, dpi_);
        lastFocus_ = listView;
        findUndoable();
        refresh();
    }
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    else if (!IsWindowVisible(window_))
        ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    return true;
}

void frmFolders::refresh()
{
    if (!window_)
        return;
    ListView_SetItemCountEx(control(lstFolders), static_cast<int>(list_.size()), LVSICF_NOSCROLL);
    InvalidateRect(control(lstFolders), nullptr, FALSE);
    enableButtons();
}

void frmFolders::edited()
{
    findUndoable();
    refresh();
    if (listEdited)
        listEdited();
}

void frmFolders::enableButtons()
{
    const bool idle = !running();
    for (const int id : {cmdAddFolder, cmdAddSubfolders, cmdTakeOut})
        EnableWindow(control(id), idle);
    EnableWindow(control(cmdRetry), idle && command_ && !list_.notDone().empty());
    EnableWindow(control(cmdUndoBatch), idle && undoable_);
    EnableWindow(control(cmdCancelBatch), !idle);
}

void frmFolders::showMessage(const std::wstring& text, UINT icon) const
{
    components_.tell(window_, text, icon);
}

// The folder itself, or it with every folder below it, once they are found.
void frmFolders::onAdd(int button)
{
    const auto dialog = components_.newFolderDialog();
    dialog->owner = window_;
    dialog->prompt = button == cmdAddFolder ? kFoldersPrompt : kSubfoldersPrompt;
    if (!dialog->show())
        return;
    if (button == cmdAddFolder) {
        list_.add({dialog->folder});
        edited();
        return;
    }
    // Below a folder of one spelling, every folder found has its one spelling too.
    if (!search_.start(tsCanonicalFolder(dialog->folder), window_, kSearchEnded)) {
        showMessage(kInternalError.c_str(), MB_ICONSTOP);
        return;
    }
    searchInHand_ = true;
    SetTimer(window_, kShowTimer, kShowEveryMs, nullptr);
    SetWindowTextW(control(lblBatch), (kSubfoldersSearching + search_.root()).c_str());
    enableButtons();
}

void frmFolders::onSearchEnded()
{
    if (!searchInHand_ || search_.running())
        return; // taken on the timer already, or the end of an earlier search
    searchInHand_ = false;
    KillTimer(window_, kShowTimer);
    SetWindowTextW(control(lblBatch), L"");
    Subfolders below;
    const SubfolderSearch::Outcome outcome = search_.take(below);
    if (outcome != SubfolderSearch::Outcome::Found) {
        if (outcome == SubfolderSearch::Outcome::Failed)
            showMessage(kInternalError.c_str(), MB_ICONSTOP);
        enableButtons();
        return;
    }
    if (!below.unreadable.empty()) {
        std::wstring text = kSubfoldersUnreadable.c_str();
        for (std::size_t i = 0; i < below.unreadable.size() && i < kFoldersNamed; ++i)
            text += L"\r\n" + below.unreadable[i];
        showMessage(below.unreadable.size() > kFoldersNamed ? text + L"\r\n…" : text, MB_ICONWARNING);
    }
    below.folders.insert(below.folders.begin(), search_.root());
    list_.add(below.folders, true);
    edited();
}

void frmFolders::onTakeOut(int)
{
    const HWND listView = control(lstFolders);
    std::vector<std::size_t> chosen;
    for (int i = ListView_GetNextItem(listView, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(listView, i, LVNI_SELECTED))
        chosen.push_back(static_cast<std::size_t>(i));
    if (chosen.empty())
        return;
    for (auto place = chosen.rbegin(); place != chosen.rend(); ++place)
        list_.remove(*place);
    ListView_SetItemState(listView, -1, 0, LVIS_SELECTED);
    edited();
}

bool frmFolders::run(HWND owner, FolderStep step)
{
    if (running() || !open(owner))
        return false;
    for (std::size_t i = 0; i < list_.size(); ++i)
        list_[i].outcome = {};
    command_ = step;
    std::vector<std::size_t> all(list_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    return start(Mode::Command, all, std::move(step));
}

void frmFolders::onRetry(int)
{
    if (command_ && !running())
        (void)start(Mode::Command, list_.notDone(), command_);
}

void frmFolders::findUndoable()
{
    std::vector<std::wstring> folders;
    for (std::size_t i = 0; i < list_.size(); ++i)
        folders.push_back(list_[i].folder);
    undoable_ = !running() && journal_.refresh() && journal_.latestFor(folders) < journal_.entries().size();
}

void frmFolders::undo(HWND owner)
{
    if (!open(owner))
        return;
    if (running()) {
        showMessage(kBusy.c_str(), MB_ICONINFORMATION);
        return;
    }
    std::vector<std::wstring> folders;
    for (std::size_t i = 0; i < list_.size(); ++i)
        folders.push_back(list_[i].folder);
    const std::size_t latest = journal_.refresh() ? journal_.latestFor(folders) : static_cast<std::size_t>(-1);
    if (latest >= journal_.entries().size()) {
        showMessage(kUndoNothing.c_str(), MB_ICONINFORMATION);
        return;
    }
    std::vector<std::size_t> places;
    for (const std::size_t f : journal_.toUndo(latest, &folders)) {
        const std::wstring key = comparablePath(journal_.entries()[latest].folders[f].folder);
        for (std::size_t i = 0; i < list_.size(); ++i) {
            if (comparablePath(list_[i].folder) == key)
                places.push_back(i);
        }
    }
    startUndo(journal_.entries()[latest], places);
}

void frmFolders::undoEntry(HWND owner, const JournalEntry& entry)
{
    if (!open(owner))
        return;
    if (running()) {
        showMessage(kBusy.c_str(), MB_ICONINFORMATION);
        return;
    }
    std::size_t place = 0;
    while (place < journal_.entries().size() && journal_.entries()[place].id != entry.id)
        ++place;
    if (place == journal_.entries().size())
        return;
    std::vector<std::wstring> folders;
    for (const std::size_t f : journal_.toUndo(place))
        folders.push_back(journal_.entries()[place].folders[f].folder);
    list_.clear();
    list_.add(folders, true);
    if (listEdited)
        listEdited();
    std::vector<std::size_t> places(list_.size());
    for (std::size_t i = 0; i < places.size(); ++i)
        places[i] = i;
    startUndo(journal_.entries()[place], places);
}

void frmFolders::startUndo(const JournalEntry& entry, const std::vector<std::size_t>& places)
{
    undoing_ = readWholeEntry(store_, entry);
    if (!undoing_) {
        showMessage(aboutPath(store_.where(), kUndoUnusable.c_str()), MB_ICONSTOP);
        return;
    }
    undone_ = places;
    if (undone_.empty()) {
        showMessage(kUndoNothing.c_str(), MB_ICONINFORMATION);
        return;
    }
    (void)start(Mode::Undo, undone_, undoStep(files_, store_, undoing_, undoName(window_), false));
}

bool frmFolders::start(Mode mode, const std::vector<std::size_t>& places, const FolderStep& step)
{
    std::vector<std::wstring> folders;
    for (const std::size_t place : places) {
        folders.push_back(list_[place].folder);
        list_[place].outcome = {};
    }
    mode_ = mode;
    places_ = places;
    // The shell is told once for each folder changed, from the batch's thread: its
    // notices cost the window thread more than the rest of a folder.
    class Told : public BatchWork {
    public:
        Told(Components& components, std::unique_ptr<BatchWork> work, std::vector<std::wstring> folders)
            : components_(components),
              work_(std::move(work)),
              folders_(std::move(folders))
        {
        }
        void prepare(std::size_t first, std::size_t last) override { work_->prepare(first, last); }
        FolderOutcome run(std::size_t index) override
        {
            FolderOutcome outcome = work_->run(index);
            if (outcome.state == FolderOutcome::State::Done)
                components_.folderChanged(folders_[index], outcome.formerIcon);
            return outcome;
        }
        void end() override { work_->end(); }

    private:
        Components& components_;
        std::unique_ptr<BatchWork> work_;
        std::vector<std::wstring> folders_;
    };
    auto work = std::make_unique<Told>(components_, step(folders), folders);
    if (!run_.start(folders.size(), std::move(work), window_, kBatchEvent)) {
        showMessage(kInternalError.c_str(), MB_ICONSTOP);
        return false;
    }
    current_ = 0;
    commandInHand_ = true;
    SetTimer(window_, kShowTimer, kShowEveryMs, nullptr);
    showProgress();
    refresh();
    return true;
}

void frmFolders::showProgress()
{
    if (current_ < places_.size())
        SetWindowTextW(control(lblBatch),
                       batchProgress(current_ + 1, places_.size(), list_[places_[current_]].folder).c_str());
    InvalidateRect(control(lstFolders), nullptr, FALSE);
}

void frmFolders::onBatch(std::size_t index, LPARAM event)
{
    if (!commandInHand_)
        return;
    if (event == BatchRun::Started) {
        current_ = index;
        return;
    }
    for (auto& [ran, outcome] : run_.take()) {
        list_[places_[ran]].outcome = std::move(outcome);
    }
    // An end that comes late, from a run the timer already ended, leaves a newer run be.
    if (event == BatchRun::Ended && !run_.running())
        endCommand();
}

void frmFolders::onTimer()
{
    if (commandInHand_) {
        showProgress();
        if (!run_.running())
            endCommand();
    }
    onSearchEnded();
}

void frmFolders::endCommand()
{
    run_.wait();
    for (auto& [ran, outcome] : run_.take())
        list_[places_[ran]].outcome = std::move(outcome);
    commandInHand_ = false;
    finish();
}

void frmFolders::stop()
{
    if (!commandInHand_)
        return;
    run_.cancel();
    run_.wait();
    for (auto& [ran, outcome] : run_.take())
        list_[places_[ran]].outcome = std::move(outcome);
    commandInHand_ = false;
    KillTimer(window_, kShowTimer);
    refresh();
    showMessage(batchReport(list_, scope()), MB_ICONINFORMATION);
}

// A command covers every listed folder, its runs again included; an undo, the folders
// the command had changed.
std::vector<std::size_t> frmFolders::scope() const
{
    if (mode_ != Mode::Command)
        return undone_;
    std::vector<std::size_t> all(list_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    return all;
}

// All done: "Готово!" and the program ends, as for one folder. Otherwise the account
// stays, with the list showing each folder's outcome.
void frmFolders::finish()
{
    KillTimer(window_, kShowTimer);
    findUndoable();
    SetWindowTextW(control(lblBatch), L"");
    // What the folders hold now is read again once the command is over: read while it
    // runs, it would cost the window thread a settings file at each redraw.
    for (const std::size_t place : places_) {
        if (list_[place].outcome.state == FolderOutcome::State::Done)
            list_[place].summary.clear();
    }
    refresh();
    if (mode_ == Mode::Undo) {
        std::vector<std::size_t> asked;
        std::wstring question;
        for (const std::size_t place : places_) {
            if (list_[place].outcome.state != FolderOutcome::State::Altered)
                continue;
            if (asked.size() < kFoldersNamed)
                question += list_[place].folder + L"\r\n";
            asked.push_back(place);
        }
        // Asked once for all of them; a no leaves them as they are, failed.
        if (!asked.empty() && components_.askYes(window_, question + L"\r\n" + kUndoChangedMany)) {
            (void)start(Mode::UndoAnyway, asked, undoStep(files_, store_, undoing_, undoName(window_), true));
            return;
        }
        for (const std::size_t place : asked)
            list_[place].outcome.state = FolderOutcome::State::Failed;
    }
    const std::vector<std::size_t> covered = scope();
    bool allDone = true, undoable = true;
    for (const std::size_t place : covered) {
        allDone = allDone && list_[place].outcome.state == FolderOutcome::State::Done;
        undoable = undoable && list_[place].outcome.undoable;
    }
    if (!allDone) {
        showMessage(batchReport(list_, covered), MB_ICONSTOP);
        return;
    }
    showMessage(batchDone(list_, covered, undoable), MB_ICONINFORMATION);
    (void)tsUnloadForm(owner_); // the windows go either way when the program ends
}

void frmFolders::showRow(NMLVDISPINFOW& row)
{
    LVITEMW& item = row.item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= list_.size())
        return;
    ListedFolder& entry = list_[static_cast<std::size_t>(item.iItem)];
    std::wstring text;
    if (item.iSubItem == 0) {
        text = entry.folder;
    } else if (item.iSubItem == 1) {
        // Read when first shown, so that a long list costs only the rows on screen.
        if (entry.summary.empty()) {
            FolderLookState look;
            look.folder = entry.folder;
            FolderInfo info;
            entry.summary = loadFolderLook(files_, look) && loadFolderInfo(files_, entry.folder, info)
                ? folderSummary(look, info)
                : kFolderUnreadable.c_str();
        }
        text = entry.summary;
    } else {
        using State = FolderOutcome::State;
        switch (entry.outcome.state) {
        case State::Waiting: break;
        case State::Done: text = entry.outcome.undoable ? kFolderDone : kFolderNotUndoable; break;
        case State::Failed: text = kFolderFailed + whyNotDone(entry.outcome); break;
        case State::Altered: text = whyNotDone(entry.outcome); break;
        }
    }
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

std::vector<ACCEL> frmFolders::keyTable()
{
    constexpr KeyCommand keys[] = {{VK_ESCAPE, 0, keyHideList}, {'Z', 2, keyUndoBatch}, {VK_DELETE, 0, keyTakeOut}};
    return window_base::acceleratorEntries(keys);
}

bool frmFolders::preTranslateMessage(MSG& message)
{
    if (!window_ || !(message.hwnd == window_ || IsChild(window_, message.hwnd)))
        return false;
    return window_base::translateKey(window_, keys_, keyTable, message) || IsDialogMessageW(window_, &message) != 0;
}

void frmFolders::onKey(WORD id)
{
    if (id == keyHideList)
        ShowWindow(window_, SW_HIDE);
    else if (id == keyUndoBatch)
        undo(owner_);
    else if (id == keyTakeOut && GetFocus() == control(lstFolders) && running())
        showMessage(kBusy.c_str(), MB_ICONINFORMATION);
    else if (id == keyTakeOut && GetFocus() == control(lstFolders))
        onTakeOut(cmdTakeOut);
}

bool frmFolders::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == 1) // a key's
            onKey(LOWORD(wParam));
        return true;
    case kBatchEvent: onBatch(wParam, lParam); return true;
    case kSearchEnded: onSearchEnded(); return true;
    case WM_TIMER: onTimer(); return true;
    // Closed, the window only hides: a command in hand goes on, and the list stays.
    case WM_CLOSE: ShowWindow(window_, SW_HIDE); return true;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == lstFolders && header->code == LVN_GETDISPINFOW)
            showRow(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        return false;
    }
    // At the program's end a command in hand stops before its next folder.
    case WM_DESTROY:
        run_.cancel();
        search_.cancel();
        return false;
    default: return false;
    }
}
