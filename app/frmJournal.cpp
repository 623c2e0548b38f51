#include "app/frmJournal.h"

#include "app/Controls.h"
#include "app/UndoCommand.h"
#include "resources/Texts.h"

const WindowSpec frmJournal::kSpec = {
    .className = kClassName,
    .caption = kJournalCaption,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .exStyle = WS_EX_DLGMODALFRAME,
    .clientWidth = kJournalClientWidth,
    .clientHeight = kJournalClientHeight,
    .controls = kJournalControls,
    .defaultButton = cmdUndoEntry,
};

const CommandRoute<frmJournal> frmJournal::kRoutes[] = {
    {cmdUndoEntry, BN_CLICKED, &frmJournal::onUndo},
    {cmdCloseJournal, BN_CLICKED, &frmJournal::onClose},
    {IDCANCEL, BN_CLICKED, &frmJournal::onClose}, // Esc, from the dialog manager
};

std::wstring frmJournal::showModal(HWND owner)
{
    chosen_.clear();
    rows_.clear();
    for (std::size_t i = journal_.entries().size(); i-- > 0 && rows_.size() < kRows;)
        rows_.push_back({i});
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    if (!create(owner))
        return {};
    const HWND listView = control(lstJournal);
    showListColumns(listView, kJournalColumns, kJournalColumnWidths, dpi_);
    ListView_SetItemCountEx(listView, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    if (!rows_.empty())
        ListView_SetItemState(listView, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    lastFocus_ = listView;
    enableUndo();
    runModal();
    return chosen_;
}

frmJournal::Row& frmJournal::rowAt(std::size_t place)
{
    Row& row = rows_[place];
    if (!row.known) {
        // Read when first shown: it reads the files of the entry's folders.
        row.state = entryState(files_, journal_, row.entry, row.undoable);
        row.known = true;
    }
    return row;
}

const JournalEntry* frmJournal::chosen(bool& undoable)
{
    const int place = ListView_GetNextItem(control(lstJournal), -1, LVNI_SELECTED);
    undoable = false;
    if (place < 0 || static_cast<std::size_t>(place) >= rows_.size())
        return nullptr;
    const Row& row = rowAt(static_cast<std::size_t>(place));
    undoable = row.undoable;
    return &journal_.entries()[row.entry];
}

void frmJournal::enableUndo()
{
    bool undoable = false;
    (void)chosen(undoable);
    EnableWindow(control(cmdUndoEntry), undoable);
}

void frmJournal::onUndo(int)
{
    bool undoable = false;
    const JournalEntry* entry = chosen(undoable);
    if (!entry || !undoable)
        return;
    chosen_ = entry->id;
    close();
}

void frmJournal::showRow(NMLVDISPINFOW& row)
{
    LVITEMW& item = row.item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.size())
        return;
    const std::size_t place = static_cast<std::size_t>(item.iItem);
    const JournalEntry& entry = journal_.entries()[rows_[place].entry];
    std::wstring text;
    switch (item.iSubItem) {
    case 0: text = entryTime(entry.header.name.time); break;
    case 1: text = entry.header.name.command; break;
    case 2: text = entryFolders(entry); break;
    default: text = entryStateText(rowAt(place).state); break;
    }
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

bool frmJournal::onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message != WM_NOTIFY)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom != lstJournal)
        return false;
    if (header->code == LVN_GETDISPINFOW)
        showRow(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
    else if (header->code == LVN_ITEMCHANGED)
        enableUndo();
    else if (header->code == NM_DBLCLK)
        onUndo(cmdUndoEntry);
    return false;
}
