#include "undo/Journal.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

// Whether path is the folder itself or a file directly in it: a record may hold no other.
bool holds(const std::wstring& folder, const std::wstring& path)
{
    std::wstring prefix = comparablePath(folder);
    const std::wstring key = comparablePath(path);
    if (key == prefix)
        return true;
    if (!prefix.ends_with(L'\\'))
        prefix += L'\\';
    if (!key.starts_with(prefix))
        return false;
    const std::wstring name = key.substr(prefix.size());
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos;
}

bool isFull(const std::wstring& folder)
{
    return (folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\') || folder.starts_with(L"\\\\");
}

// The Before frame's paths added to its folder's record, each checked against the folder.
void addRecord(JournalFolder& folder, FolderBefore&& before)
{
    folder.begun = true;
    for (RecordedPath& path : before.paths) {
        const bool isFolderItself = comparablePath(path.path) == comparablePath(folder.folder);
        if (!holds(folder.folder, path.path) || path.isFolder != isFolderItself)
            folder.usable = false;
        folder.paths.push_back(std::move(path));
    }
}

// What the command came to, with each path's left fields; without the records, the
// paths are the Left frame's own.
void addLeft(JournalFolder& folder, FolderLeft&& left, bool withRecords)
{
    folder.ended = true;
    folder.end = left.end;
    if (!left.undoable)
        folder.usable = false;
    if (!withRecords) {
        folder.paths = std::move(left.paths);
        return;
    }
    if (left.paths.size() != folder.paths.size()) {
        folder.usable = false;
        return;
    }
    for (std::size_t i = 0; i < left.paths.size(); ++i) {
        if (comparablePath(left.paths[i].path) != comparablePath(folder.paths[i].path)) {
            folder.usable = false;
            return;
        }
        folder.paths[i].leftExists = left.paths[i].leftExists;
        folder.paths[i].leftAttributes = left.paths[i].leftAttributes;
        folder.paths[i].leftHash = left.paths[i].leftHash;
    }
}

} // namespace

TsStatus readEntry(JournalStore& store, const JournalStore::Entry& listed, bool withRecords, JournalEntry& entry)
{
    entry = {.id = listed.id, .running = listed.running};
    std::uint64_t size = 0;
    if (const TsStatus sized = store.size(listed.id, size); !sized)
        return sized;
    bool headed = false;
    std::uint64_t at = 0;
    // Every frame stands on its own: the first that is not whole ends the entry.
    std::uint32_t bodySize = 0;
    for (std::string head, body; size - at >= kFrameHeaderSize; at += kFrameHeaderSize + bodySize) {
        FrameType type {};
        std::uint64_t checksum = 0;
        if (!store.readAt(listed.id, at, kFrameHeaderSize, head) || !readFrameHeader(head.data(), type, bodySize, checksum)
            || bodySize > size - at - kFrameHeaderSize || headed != (type != FrameType::Header))
            break;
        // Without the records only the folder a record is of is read, not its bytes.
        const bool skipped = type == FrameType::Before && !withRecords;
        if (!store.readAt(listed.id, at + kFrameHeaderSize, skipped ? std::min<std::size_t>(bodySize, 4) : bodySize, body)
            || (!skipped && !bodyMatches(type, body, checksum)))
            break;
        const auto folderOf = [&](std::uint32_t index) -> JournalFolder* {
            return index < entry.folders.size() ? &entry.folders[index] : nullptr;
        };
        bool ok = true;
        switch (type) {
        case FrameType::Header:
            ok = decodeHeader(body, entry.header) && std::all_of(entry.header.folders.begin(), entry.header.folders.end(), isFull);
            for (const std::wstring& folder : entry.header.folders)
                entry.folders.push_back({folder});
            headed = ok;
            break;
        case FrameType::Before: {
            FolderBefore before;
            if (skipped) {
                std::uint32_t index = 0;
                ok = decodeDropped(body, index) && folderOf(index);
                if (ok)
                    folderOf(index)->begun = true;
            } else {
                ok = decodeBefore(body, before) && folderOf(before.folder);
                if (ok)
                    addRecord(*folderOf(before.folder), std::move(before));
            }
            break;
        }
        case FrameType::Dropped: {
            std::uint32_t index = 0;
            ok = decodeDropped(body, index) && folderOf(index);
            if (ok)
                folderOf(index)->begun = true, folderOf(index)->usable = false;
            break;
        }
        case FrameType::Left: {
            FolderLeft left;
            ok = decodeLeft(body, left) && folderOf(left.folder);
            if (ok)
                addLeft(*folderOf(left.folder), std::move(left), withRecords);
            break;
        }
        case FrameType::Finished: entry.finished = true; break;
        }
        if (!ok)
            break;
    }
    entry.length = at;
    entry.finished = entry.finished || listed.finished;
    return headed ? TsStatus() : TsStatus::failure(ERROR_INVALID_DATA);
}

TsStatus Journal::refresh()
{
    std::vector<JournalStore::Entry> listed;
    if (const TsStatus status = store_.list(listed); !status)
        return status;
    std::vector<JournalEntry> read;
    read.reserve(listed.size());
    std::size_t known = 0;
    for (const JournalStore::Entry& entry : listed) {
        while (known < entries_.size() && entries_[known].id < entry.id)
            ++known;
        // A finished entry never changes again.
        if (known < entries_.size() && entries_[known].id == entry.id && entries_[known].finished) {
            read.push_back(std::move(entries_[known]));
            continue;
        }
        JournalEntry fresh;
        if (readEntry(store_, entry, false, fresh)) // a damaged entry is no entry
            read.push_back(std::move(fresh));
    }
    entries_ = std::move(read);
    findUndone();
    return {};
}

// Newest first: an undo done in a folder takes back the entry it names there, unless a
// later undo took the undo itself back.
void Journal::findUndone()
{
    undone_.assign(entries_.size(), {});
    std::map<std::wstring, std::size_t> places;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        undone_[i].assign(entries_[i].folders.size(), false);
        places[entries_[i].id] = i;
    }
    for (std::size_t i = entries_.size(); i-- > 0;) {
        const JournalEntry& entry = entries_[i];
        const auto target = places.find(entry.header.undoes);
        if (entry.header.kind != EntryKind::Undo || target == places.end() || target->second >= i)
            continue;
        const JournalEntry& undoneEntry = entries_[target->second];
        for (std::size_t f = 0; f < entry.folders.size(); ++f) {
            const JournalFolder& folder = entry.folders[f];
            if (!folder.ended || folder.end != FolderEnd::Done || undone_[i][f])
                continue;
            for (std::size_t g = 0; g < undoneEntry.folders.size(); ++g) {
                if (comparablePath(undoneEntry.folders[g].folder) == comparablePath(folder.folder))
                    undone_[target->second][g] = true;
            }
        }
    }
}

std::size_t Journal::latestFor(const std::vector<std::wstring>& folders) const
{
    std::set<std::wstring> keys;
    for (const std::wstring& folder : folders)
        keys.insert(comparablePath(folder));
    for (std::size_t i = entries_.size(); i-- > 0;) {
        // An undo is taken back from the journal window; "Вернуть как было" goes on back
        // to the command before.
        if (entries_[i].header.kind == EntryKind::Undo)
            continue;
        for (std::size_t f = 0; f < entries_[i].folders.size(); ++f) {
            const JournalFolder& folder = entries_[i].folders[f];
            if (folder.changed() && !undone_[i][f] && keys.count(comparablePath(folder.folder)))
                return i;
        }
    }
    return static_cast<std::size_t>(-1);
}

std::vector<std::size_t> Journal::toUndo(std::size_t entry, const std::vector<std::wstring>* among) const
{
    std::set<std::wstring> keys;
    if (among) {
        for (const std::wstring& folder : *among)
            keys.insert(comparablePath(folder));
    }
    std::vector<std::size_t> folders;
    for (std::size_t f = 0; f < entries_[entry].folders.size(); ++f) {
        const JournalFolder& folder = entries_[entry].folders[f];
        if (folder.changed() && !undone_[entry][f] && (!among || keys.count(comparablePath(folder.folder))))
            folders.push_back(f);
    }
    return folders;
}

std::vector<std::size_t> Journal::unfinished() const
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].finished && !entries_[i].running)
            found.push_back(i);
    }
    return found;
}
