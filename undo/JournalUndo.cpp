#include "undo/JournalUndo.h"

#include "support/tsFile.h"

#include <algorithm>
#include <memory>

namespace {

const JournalFolder* folderIn(const JournalEntry& entry, const std::wstring& folder)
{
    const auto found = std::find_if(entry.folders.begin(), entry.folders.end(), [&](const JournalFolder& listed) {
        return comparablePath(listed.folder) == comparablePath(folder);
    });
    return found == entry.folders.end() ? nullptr : &*found;
}

} // namespace

UndoOutcome undoInJournal(CommandJournal& journal, std::size_t index, const JournalEntry& undone, bool evenIfChanged)
{
    const JournalFolder* recorded = folderIn(undone, journal.header().folders[index]);
    if (!recorded)
        return {UndoOutcome::Kind::Nothing};
    UndoOutcome outcome;
    const CommandOutcome ran = journal.run(index, [&](FolderFiles& files, const std::wstring&) {
        outcome = undoJournalFolder(files, *recorded, evenIfChanged);
        // The journal needs only whether the folder was put back.
        return outcome.kind == UndoOutcome::Kind::Done ? CommandOutcome {}
                                                       : CommandOutcome {CommandOutcome::Kind::SaveFailed};
    });
    if (ran.kind == CommandOutcome::Kind::RecordFailed)
        return {UndoOutcome::Kind::RecordFailed, ran.subject, ran.error};
    return outcome;
}

UndoOutcome undoEntry(FolderFiles& files, JournalStore& store, const JournalEntry& entry, const std::wstring& folder,
                      const CommandName& name, bool evenIfChanged)
{
    JournalEntry whole;
    const JournalStore::Entry listed {entry.id, 0, entry.finished, entry.running};
    const JournalFolder* recorded = readEntry(store, listed, true, whole) ? folderIn(whole, folder) : nullptr;
    if (!recorded || !recorded->usable)
        return {UndoOutcome::Kind::Unusable, store.where()};
    if (!evenIfChanged) {
        if (std::wstring changed = changedSince(files, *recorded); !changed.empty())
            return {UndoOutcome::Kind::Changed, std::move(changed)};
    }
    CommandJournal undo(store, files, {EntryKind::Undo, whole.id, name, {recorded->folder}});
    return undoInJournal(undo, 0, whole, true);
}

UndoOutcome undoLatest(FolderFiles& files, JournalStore& store, const std::wstring& folder, const CommandName& name,
                       bool evenIfChanged)
{
    const std::wstring canonical = tsCanonicalFolder(folder);
    Journal journal(store);
    const std::size_t latest = journal.refresh() ? journal.latestFor({canonical}) : static_cast<std::size_t>(-1);
    if (latest >= journal.entries().size())
        return {UndoOutcome::Kind::Nothing};
    return undoEntry(files, store, journal.entries()[latest], canonical, name, evenIfChanged);
}
