#include "app/UndoCommand.h"

#include "app/Controls.h"
#include "app/FolderSteps.h"
#include "app/OutcomeMessage.h"
#include "resources/Messages.h"
#include "support/BusyPointer.h"
#include "support/tsFile.h"
#include "undo/CommandJournal.h"
#include "undo/FolderUndo.h"
#include "undo/JournalUndo.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring twoDigits(unsigned value)
{
    return {static_cast<wchar_t>(L'0' + value / 10 % 10), static_cast<wchar_t>(L'0' + value % 10)};
}

// The name a recording gives a temporary file of its own: "~qmk" and eight hex digits.
bool isJournalTemp(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    const std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    return name.size() == 16 && name.starts_with(L"~qmk") && name.ends_with(L".tmp")
        && std::all_of(name.begin() + 4, name.begin() + 12, iswxdigit);
}

} // namespace

CommandName commandName(HWND button, HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CommandName name {
        windowText(button), windowText(window), {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute}};
    // The caption as the user reads it, without its access key's mark.
    name.command.erase(std::remove(name.command.begin(), name.command.end(), L'&'), name.command.end());
    return name;
}

CommandName undoName(HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {kUndoMenuItem.c_str(), windowText(window), {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute}};
}

std::wstring entryTime(const RecordTime& time)
{
    const wchar_t* month = time.month >= 1 && time.month <= 12 ? kMonths[time.month - 1].c_str() : L"";
    return fillText(kEntryTime, {tsDecimal(time.day), month, twoDigits(time.hour), twoDigits(time.minute)});
}

std::wstring entryName(const JournalEntry& entry)
{
    const std::size_t folders = entry.folders.size();
    return entry.header.name.command + L", " + (folders > 1 ? foldersCount(folders) + L", " : L"")
        + entryTime(entry.header.name.time);
}

std::wstring undoMenuCaption(Journal& journal, const std::vector<std::wstring>& folders, bool& enabled)
{
    const std::size_t latest = journal.refresh() ? journal.latestFor(folders) : static_cast<std::size_t>(-1);
    enabled = latest < journal.entries().size();
    if (!enabled)
        return std::wstring(kUndoMenuItem) + kUndoKey;
    return std::wstring(kUndoMenuItem) + L" (" + entryName(journal.entries()[latest]) + L")" + kUndoKey;
}

std::shared_ptr<const JournalEntry> readWholeEntry(JournalStore& store, const JournalEntry& summary)
{
    auto whole = std::make_shared<JournalEntry>();
    JournalStore::Entry listed {summary.id, 0, summary.finished, summary.running};
    if (!readEntry(store, listed, true, *whole))
        return nullptr;
    return whole;
}

bool runUndo(Components& components, FolderFiles& files, JournalStore& store, Journal& journal, HWND owner,
             const std::wstring& folder)
{
    const BusyPointer busy;
    const std::wstring canonical = tsCanonicalFolder(folder);
    const std::size_t latest = journal.refresh() ? journal.latestFor({canonical}) : static_cast<std::size_t>(-1);
    if (latest >= journal.entries().size()) {
        components.tell(owner, kUndoNothing.c_str(), MB_ICONINFORMATION);
        return false;
    }
    return undoEntryFolder(components, files, store, owner, journal.entries()[latest], folder);
}

bool undoEntryFolder(Components& components, FolderFiles& files, JournalStore& store, HWND owner,
                     const JournalEntry& entry, const std::wstring& folder)
{
    using Kind = UndoOutcome::Kind;
    const BusyPointer busy;
    const std::wstring canonical = tsCanonicalFolder(folder);
    UndoOutcome outcome = undoEntry(files, store, entry, canonical, undoName(owner), false);
    // Asked before the undo's own entry is made, so that No leaves no trace.
    if (outcome.kind == Kind::Changed) {
        if (!components.askYes(owner, outcome.subject + L"\r\n\r\n" + kUndoChanged))
            return false;
        outcome = undoEntry(files, store, entry, canonical, undoName(owner), true);
    }
    return showOutcome(components, owner, outcome, folder);
}

EntryState entryState(FolderFiles& files, const Journal& journal, std::size_t place, bool& undoable)
{
    const JournalEntry& entry = journal.entries()[place];
    const std::vector<std::size_t> folders = journal.toUndo(place);
    undoable = !entry.running && !folders.empty();
    if (entry.running)
        return EntryState::Running;
    if (folders.empty()) {
        const bool changedAny = std::any_of(entry.folders.begin(), entry.folders.end(),
                                            [](const JournalFolder& folder) { return folder.changed(); });
        return changedAny ? EntryState::Undone : EntryState::Nothing;
    }
    const bool alteredAny = std::any_of(folders.begin(), folders.end(), [&](std::size_t f) {
        return !changedSince(files, entry.folders[f]).empty();
    });
    if (alteredAny)
        return EntryState::Partly;
    return entry.finished ? EntryState::Undoable : EntryState::Unfinished;
}

std::wstring entryStateText(EntryState state)
{
    switch (state) {
    case EntryState::Running: return kEntryRunning.c_str();
    case EntryState::Undone: return kEntryUndone.c_str();
    case EntryState::Nothing: return kEntryNothing.c_str();
    case EntryState::Partly: return kEntryPartly.c_str();
    case EntryState::Undoable: return kEntryUndoable.c_str();
    case EntryState::Unfinished: break;
    }
    return kEntryUnfinished.c_str();
}

std::wstring entryFolders(const JournalEntry& entry)
{
    constexpr std::size_t kNamed = 3;
    if (entry.folders.size() == 1)
        return entry.folders.front().folder;
    std::wstring text = foldersCount(entry.folders.size()) + L":";
    for (std::size_t i = 0; i < entry.folders.size() && i < kNamed; ++i)
        text += (i ? L"; " : L" ") + entry.folders[i].folder;
    return entry.folders.size() > kNamed ? text + L"; …" : text;
}

std::vector<JournalEntry> findUnfinished(JournalStore& store, FolderFiles& files)
{
    std::vector<JournalStore::Entry> listed;
    std::vector<JournalEntry> found;
    if (!store.listUnfinished(listed))
        return found;
    for (const JournalStore::Entry& entry : listed) {
        JournalEntry read;
        if (entry.running || !readEntry(store, entry, false, read))
            continue;
        const bool reached = std::any_of(read.folders.begin(), read.folders.end(),
                                         [](const JournalFolder& folder) { return folder.changed(); });
        if (read.finished || !reached)
            (void)closeUnfinished(store, files, read); // nothing to ask: asked again next time should it fail
        else
            found.push_back(std::move(read));
    }
    return found;
}

TsStatus closeUnfinished(JournalStore& store, FolderFiles& files, const JournalEntry& summary)
{
    std::uint64_t length = summary.length;
    if (const std::shared_ptr<const JournalEntry> whole = readWholeEntry(store, summary)) {
        length = whole->length; // its records checked too: a damaged one ends it there
        for (const JournalFolder& folder : whole->folders) {
            for (const RecordedPath& path : folder.paths) {
                std::uint32_t attributes = 0;
                if (!path.existed && isJournalTemp(path.path) && files.getAttributes(path.path, attributes))
                    (void)files.deleteFile(path.path); // one that stays is cleared by the undo of its folder
            }
        }
    }
    if (const TsStatus resumed = store.resume(summary.id, length); !resumed)
        return resumed;
    TsStatus status = store.append(frameOf(FrameType::Finished, ""));
    if (status)
        status = store.flush();
    if (status)
        return store.finish();
    store.close();
    return status;
}
