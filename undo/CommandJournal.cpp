#include "undo/CommandJournal.h"

#include "folderview/SettingsFormat.h"
#include "support/tsFile.h"
#include "undo/FolderUndo.h"

#include <windows.h>

#include <algorithm>
#include <set>

namespace {

using Kind = CommandOutcome::Kind;

bool isMissing(TsStatus status)
{
    return status.error() == ERROR_FILE_NOT_FOUND || status.error() == ERROR_PATH_NOT_FOUND;
}

// The hex digits of a number, for a temporary file's name.
std::wstring hexOf(std::uint64_t value, int digits)
{
    std::wstring text(static_cast<std::size_t>(digits), L'0');
    for (int i = digits; i-- > 0; value >>= 4)
        text[static_cast<std::size_t>(i)] = L"0123456789abcdef"[value & 0xF];
    return text;
}

// The files a change is handed: each change is recorded before it is passed on.
class RecordingFiles : public FolderFiles {
public:
    RecordingFiles(FolderFiles& files, CommandJournal& journal, std::size_t index, CommandJournal::Folder& record,
                   const std::wstring& folder)
        : files_(files),
          journal_(journal),
          index_(index),
          record_(record),
          folder_(folder)
    {
    }

    TsStatus isFileExist(const std::wstring& path, bool& result) override { return files_.isFileExist(path, result); }
    TsStatus readString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                        const std::wstring& path, std::wstring& result) override
    {
        return files_.readString(section, key, defaultText, path, result);
    }
    TsStatus readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                      const std::wstring& path, std::int32_t& result) override
    {
        return files_.readLong(section, key, defaultValue, path, result);
    }
    TsStatus isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                        bool& result) override
    {
        return files_.isKeyExist(section, key, path, result);
    }
    TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                      const std::wstring& path) override
    {
        if (const TsStatus kept = remember(path); !kept)
            return kept;
        forget(path);
        return files_.writeINI(section, key, value, path);
    }
    TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) override
    {
        return files_.getAttributes(path, result);
    }
    TsStatus setAttributes(const std::wstring& path, std::uint32_t attributes) override
    {
        if (const TsStatus kept = remember(path); !kept)
            return kept;
        return files_.setAttributes(path, attributes);
    }
    TsStatus copyFile(const std::wstring& source, const std::wstring& target) override
    {
        if (const TsStatus kept = remember(target); !kept)
            return kept;
        forget(target);
        return files_.copyFile(source, target);
    }
    TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) override
    {
        return files_.isSameFile(first, second, result);
    }
    TsStatus canRead(const std::wstring& path) override { return files_.canRead(path); }
    // A temporary file is named here and recorded as absent before it is made, so that
    // undo, or the start after a crash, finds it and clears it away.
    TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) override
    {
        for (int tries = 0; tries < 16; ++tries) {
            const std::uint64_t seed = hashBytes(journal_.id().data(), journal_.id().size() * sizeof(wchar_t));
            const std::uint64_t unique = hashBytes(&index_, sizeof index_, seed) ^ (++counter_ * 0x9E3779B97F4A7C15ull);
            std::wstring candidate;
            std::uint32_t attributes = 0;
            if (!files_.fullPath(folder + L"\\~qmk" + hexOf(unique, 8) + L".tmp", candidate))
                continue;
            if (const TsStatus there = files_.getAttributes(candidate, attributes); !isMissing(there))
                continue;
            if (const TsStatus kept = remember(candidate); !kept)
                return kept;
            const TsStatus made = files_.makeFile(candidate);
            if (made.error() == ERROR_FILE_EXISTS)
                continue;
            if (made) {
                temps_.insert(keyOf(candidate));
                path = candidate;
            }
            return made;
        }
        return TsStatus::failure(ERROR_FILE_EXISTS);
    }
    TsStatus makeFile(const std::wstring& path) override
    {
        if (const TsStatus kept = remember(path); !kept)
            return kept;
        return files_.makeFile(path);
    }
    TsStatus moveFile(const std::wstring& from, const std::wstring& to) override
    {
        TsStatus kept = remember(from);
        if (kept)
            kept = remember(to);
        if (!kept)
            return kept;
        forget(from);
        forget(to);
        return files_.moveFile(from, to);
    }
    TsStatus replaceFile(const std::wstring& replacement, const std::wstring& replaced) override
    {
        TsStatus kept = remember(replacement);
        if (kept)
            kept = remember(replaced);
        if (!kept)
            return kept;
        forget(replacement);
        forget(replaced);
        return files_.replaceFile(replacement, replaced);
    }
    TsStatus readFile(const std::wstring& path, std::string& result) override
    {
        const std::wstring key = keyOf(path);
        if (const auto found = record_.known.find(key); found != record_.known.end()) {
            result = found->second;
            return {};
        }
        const TsStatus read = files_.readFile(path, result);
        if (read && isRecorded(key))
            record_.known[key] = result;
        return read;
    }
    TsStatus writeFile(const std::wstring& path, const std::string& bytes) override
    {
        if (const TsStatus kept = remember(path); !kept)
            return kept;
        const TsStatus written = files_.writeFile(path, bytes);
        const std::wstring key = keyOf(path);
        if (written && isRecorded(key))
            record_.known[key] = bytes;
        else
            record_.known.erase(key);
        return written;
    }
    TsStatus deleteFile(const std::wstring& path) override
    {
        if (const TsStatus kept = remember(path); !kept)
            return kept;
        forget(path);
        return files_.deleteFile(path);
    }
    TsStatus readSections(const std::string& bytes, std::vector<ProfileSection>& result) override
    {
        return files_.readSections(bytes, result);
    }
    TsStatus freeSpace(const std::wstring& folder, std::uint64_t& bytes) override
    {
        return files_.freeSpace(folder, bytes);
    }
    TsStatus fullPath(const std::wstring& path, std::wstring& result) override { return files_.fullPath(path, result); }

    bool storeFailed() const { return storeFailed_; }
    TsStatus storeError() const { return storeError_; }

private:
    // The full path, without a trailing backslash, in one case: the folder given as
    // "D:\Фото\" is the folder, not a file in it.
    std::wstring keyOf(const std::wstring& path)
    {
        std::wstring full;
        if (!files_.fullPath(path, full))
            return L"";
        while (full.size() > 3 && full.back() == L'\\')
            full.pop_back();
        return comparablePath(full);
    }
    bool isRecorded(const std::wstring& key) const
    {
        return std::any_of(record_.paths.begin(), record_.paths.end(),
                           [&](const RecordedPath& known) { return comparablePath(known.path) == key; });
    }
    void forget(const std::wstring& path) { record_.known.erase(keyOf(path)); }

    // The path's state added to the record, on the disk, before its first change.
    TsStatus remember(const std::wstring& path)
    {
        const std::wstring key = keyOf(path);
        if (temps_.count(key))
            return {};
        if (storeFailed_)
            return storeError_; // nothing more changes once the record cannot follow
        if (record_.tooLarge || isRecorded(key))
            return {};
        RecordedPath state;
        if (const TsStatus full = files_.fullPath(path, state.path); !full)
            return full;
        if (key == comparablePath(folder_))
            state = {.path = folder_, .isFolder = true};
        if (const TsStatus read = readPathState(files_, state); !read)
            return read;
        if (const TsStatus recorded = journal_.record(index_, record_, std::move(state)); !recorded) {
            storeFailed_ = true;
            storeError_ = recorded;
            return recorded;
        }
        return {};
    }

    FolderFiles& files_;
    CommandJournal& journal_;
    std::size_t index_;
    CommandJournal::Folder& record_;
    std::wstring folder_;
    std::set<std::wstring> temps_;
    std::uint64_t counter_ = 0;
    bool storeFailed_ = false;
    TsStatus storeError_;
};

// What the change left at a recorded path, for undo to tell what changed since.
void noteLeft(FolderFiles& files, const CommandJournal::Folder& record, RecordedPath& recorded)
{
    RecordedPath now {.path = recorded.path, .isFolder = recorded.isFolder};
    const auto found = record.known.find(comparablePath(now.path));
    if (found == record.known.end()) {
        (void)readPathState(files, now); // what cannot be read counts as changed later
    } else if (files.getAttributes(now.path, now.attributes)) {
        now.existed = true;
        now.bytes = found->second;
    }
    recorded.leftExists = now.existed;
    recorded.leftAttributes = now.attributes;
    recorded.leftHash = hashBytes(now.bytes.data(), now.bytes.size());
}

} // namespace

CommandJournal::CommandJournal(JournalStore& store, FolderFiles& files, EntryHeader header, const UndoLimits& limits)
    : store_(store),
      files_(files),
      header_(std::move(header)),
      limits_(limits)
{
}

CommandJournal::~CommandJournal()
{
    finish();
}

TsStatus CommandJournal::write(FrameType type, const std::string& body)
{
    if (!storeError_)
        return storeError_;
    if (const TsStatus written = store_.append(frameOf(type, body)); !written) {
        storeError_ = written;
        return written;
    }
    unsynced_ = true;
    return {};
}

TsStatus CommandJournal::begin()
{
    if (begun_)
        return storeError_;
    begun_ = true;
    if (const TsStatus made = store_.create(id_); !made)
        return storeError_ = made;
    return write(FrameType::Header, encodeHeader(header_));
}

TsStatus CommandJournal::record(std::size_t index, Folder& folder, RecordedPath state)
{
    if (folder.tooLarge)
        return {};
    folder.size += state.bytes.size();
    const auto place = static_cast<std::uint32_t>(index);
    if (folder.size > limits_.record) {
        // Beyond its cap the record is dropped and the change runs on: an older record
        // would undo something else.
        folder.tooLarge = true;
        folder.paths.clear();
        folder.known.clear();
        const TsStatus dropped = write(FrameType::Dropped, encodeDropped(place));
        return dropped ? sync() : dropped;
    }
    if (!state.isFolder && state.existed)
        folder.known[comparablePath(state.path)] = state.bytes;
    const FolderBefore before {place, {state}};
    folder.paths.push_back(std::move(state));
    // Its path is about to change: on the disk first.
    const TsStatus written = write(FrameType::Before, encodeBefore(before));
    return written ? sync() : written;
}

void CommandJournal::prepare(std::size_t index)
{
    (void)begin(); // a failure refuses the folder's change
    if (!storeError_ || index >= header_.folders.size() || folders_.count(index))
        return;
    Folder& folder = folders_[index];
    const std::wstring& path = header_.folders[index];
    RecordedPath settings {.path = path + L"\\" + kDesktopIni}, attributes {.path = path, .isFolder = true};
    // What cannot be read now is recorded when the change first touches it, or refused then.
    if (!readPathState(files_, settings) || !readPathState(files_, attributes))
        return;
    FolderBefore before {static_cast<std::uint32_t>(index), {}};
    folder.size = settings.bytes.size();
    if (folder.size > limits_.record) {
        folder.tooLarge = true;
        (void)write(FrameType::Dropped, encodeDropped(before.folder));
    } else {
        if (settings.existed)
            folder.known[comparablePath(settings.path)] = settings.bytes;
        folder.paths = {std::move(settings), std::move(attributes)};
        before.paths = folder.paths;
        (void)write(FrameType::Before, encodeBefore(before)); // a failure refuses the folder's change
    }
}

TsStatus CommandJournal::sync()
{
    if (!storeError_ || !unsynced_)
        return storeError_;
    if (const TsStatus flushed = store_.flush(); !flushed)
        return storeError_ = flushed;
    ++flushes_;
    unsynced_ = false;
    for (auto& [index, folder] : folders_)
        folder.durable = true;
    return {};
}

CommandOutcome CommandJournal::run(std::size_t index, const FolderChange& change)
{
    if (index >= header_.folders.size())
        return {Kind::NoFolder};
    const std::wstring& folderPath = header_.folders[index];
    (void)begin(); // made once; a failure refuses every folder below
    if (!folders_.count(index))
        prepare(index);
    Folder& folder = folders_[index];
    // Its record on the disk before the change; the Left frames of the folders before
    // it may wait for the next flush.
    if (!(folder.durable ? storeError_ : sync()))
        return {Kind::RecordFailed, store_.where(), storeError_.error()};
    RecordingFiles recording(files_, *this, index, folder, folderPath);
    CommandOutcome outcome = change(recording, folderPath);
    if (recording.storeFailed()) {
        // What the change did before the store failed goes back.
        std::vector<RecordedPath> current(folder.paths.size());
        for (std::size_t i = 0; i < current.size(); ++i)
            current[i] = {.path = folder.paths[i].path, .isFolder = folder.paths[i].isFolder};
        (void)restorePaths(files_, folderPath, folder.paths, current);
        outcome = {Kind::RecordFailed, store_.where(), recording.storeError().error()};
    }
    FolderLeft left {static_cast<std::uint32_t>(index), outcome.kind == Kind::Done ? FolderEnd::Done : FolderEnd::Failed,
                     !folder.tooLarge && !folder.paths.empty(), folder.paths};
    if (outcome.kind == Kind::Done && folder.tooLarge)
        outcome.undoable = false;
    for (RecordedPath& path : left.paths) {
        path.bytes.clear();
        if (outcome.kind == Kind::Done)
            noteLeft(files_, folder, path);
    }
    // Flushed with the next folders' records, or when the entry ends: a power cut
    // before that leaves the folder as one the command was changing, which undo takes
    // back from the record just the same.
    (void)write(FrameType::Left, encodeLeft(left));
    folders_.erase(index);
    return outcome;
}

void CommandJournal::finish()
{
    if (!begun_ || finished_)
        return;
    finished_ = true;
    // Not flushed: lost to a power cut, the mark only makes the next start ask about a
    // command whose folders are all done, and each is undone from its record as well.
    if (storeError_ && write(FrameType::Finished, "") && store_.finish())
        boundJournal(store_, limits_.store);
    else
        store_.close(); // unfinished: the next start finds it and asks
}

CommandOutcome runRecorded(FolderFiles& files, JournalStore& store, const std::wstring& folder, const CommandName& name,
                           const FolderChange& change, const UndoLimits& limits)
{
    if (folder.empty())
        return change(files, folder);
    CommandJournal journal(store, files, {EntryKind::Command, L"", name, {tsCanonicalFolder(folder)}}, limits);
    return journal.run(0, change);
}

void boundJournal(JournalStore& store, std::uint64_t bound)
{
    std::vector<JournalStore::Entry> entries;
    if (!store.list(entries))
        return;
    std::uint64_t total = 0;
    for (const JournalStore::Entry& entry : entries)
        total += entry.size;
    for (const JournalStore::Entry& entry : entries) {
        if (total <= bound)
            break;
        if (entry.finished && store.remove(entry.id))
            total -= entry.size;
    }
}
