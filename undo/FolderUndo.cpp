#include "undo/FolderUndo.h"

#include "folderview/SettingsFormat.h"

#include <algorithm>
#include <map>
#include <set>
#include <windows.h>

namespace {

using Kind = CommandOutcome::Kind;

// The bits SetFileAttributes takes back; the rest the system keeps for itself.
constexpr std::uint32_t kSettable =
    kAttrReadOnly | kAttrHidden | kAttrSystem | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// What "changed since" compares: backup tools clear the archive bit on their own.
constexpr std::uint32_t kCompared = kAttrReadOnly | kAttrHidden | kAttrSystem;

std::wstring storeName(const std::wstring& fullFolder)
{
    const std::wstring key = comparablePath(fullFolder);
    const std::uint64_t hash = hashBytes(key.data(), key.size() * sizeof(wchar_t));
    std::wstring name;
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(hash >> shift) & 0xF];
    return name + L".undo";
}

bool isMissing(TsStatus status)
{
    return status.error() == ERROR_FILE_NOT_FOUND || status.error() == ERROR_PATH_NOT_FOUND;
}

// The path's state now: whether it exists, its attributes and, for a file, its bytes.
TsStatus readState(FolderFiles& files, RecordedPath& state)
{
    state.existed = false;
    state.bytes.clear();
    const TsStatus status = files.getAttributes(state.path, state.attributes);
    if (!status)
        return isMissing(status) ? TsStatus() : status;
    state.existed = true;
    return state.isFolder ? TsStatus() : files.readFile(state.path, state.bytes);
}

std::uint32_t settable(std::uint32_t attributes)
{
    const std::uint32_t kept = attributes & kSettable;
    return kept ? kept : kAttrNormal;
}

// The folder's files as they were, written to temporary files beside them; the folder's
// attributes need none.
class Restore {
public:
    explicit Restore(FolderFiles& files) : files_(files) {}
    ~Restore()
    {
        for (const std::wstring& temp : temps_) {
            if (!temp.empty())
                (void)files_.deleteFile(temp); // hidden, never read-only
        }
    }

    // Every file's bytes in place beside it first, so that a full disk stops the undo
    // before anything changed.
    TsStatus prepare(const std::wstring& folder, const std::vector<RecordedPath>& states, std::wstring& failed)
    {
        temps_.assign(states.size(), L"");
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (states[i].isFolder || !states[i].existed)
                continue;
            TsStatus status = files_.makeTempFile(folder, temps_[i]);
            if (status)
                status = files_.writeFile(temps_[i], states[i].bytes);
            if (!status) {
                failed = states[i].path;
                return status;
            }
        }
        return {};
    }

    // The path as state says, from the temporary file prepare made for it.
    TsStatus put(std::size_t index, const RecordedPath& state)
    {
        if (state.isFolder)
            return files_.setAttributes(state.path, settable(state.attributes));
        std::uint32_t now = 0;
        const bool exists = files_.getAttributes(state.path, now).ok();
        // Neither the rename nor the delete touches a read-only file.
        if (exists && (now & kAttrReadOnly))
            (void)files_.setAttributes(state.path, now & ~kAttrReadOnly);
        TsStatus status;
        if (state.existed) {
            status = files_.moveFile(temps_[index], state.path);
            if (status) {
                temps_[index].clear();
                status = files_.setAttributes(state.path, settable(state.attributes));
            }
        } else if (exists) {
            status = files_.deleteFile(state.path);
        }
        if (!status && exists && (now & kAttrReadOnly))
            (void)files_.setAttributes(state.path, now);
        return status;
    }

private:
    FolderFiles& files_;
    std::vector<std::wstring> temps_;
};

// Puts every path back as states say, the folder's attributes last; all or nothing, as
// far as the file system lets a failure be undone.
UndoOutcome restoreAll(FolderFiles& files, const std::wstring& folder, const std::vector<RecordedPath>& states,
                       const std::vector<RecordedPath>& current)
{
    std::wstring failed;
    Restore restore(files);
    if (const TsStatus prepared = restore.prepare(folder, states, failed); !prepared)
        return {UndoOutcome::Kind::Failed, failed, prepared.error()};
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (const TsStatus put = restore.put(i, states[i]); !put) {
            std::vector<RecordedPath> done(current.begin(), current.begin() + static_cast<std::ptrdiff_t>(i));
            Restore back(files);
            std::wstring ignored;
            if (back.prepare(folder, done, ignored)) {
                for (std::size_t j = done.size(); j-- > 0;)
                    (void)back.put(j, done[j]);
            }
            return {UndoOutcome::Kind::Failed, states[i].path, put.error()};
        }
    }
    return {};
}

// The files the window hands a command: each change is recorded before it is passed on.
class RecordingFiles : public FolderFiles {
public:
    RecordingFiles(FolderFiles& files, RecordStore& store, FolderRecord& record, const UndoLimits& limits)
        : files_(files),
          store_(store),
          record_(record),
          limits_(limits),
          name_(storeName(record.folder))
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
    // A temporary file is the command's own: it is renamed into place or deleted, and
    // what the rename replaces is recorded then.
    TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) override
    {
        const TsStatus made = files_.makeTempFile(folder, path);
        if (made)
            temps_.insert(comparablePath(path));
        return made;
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
        if (const auto found = known_.find(key); found != known_.end()) {
            result = found->second;
            return {};
        }
        const TsStatus read = files_.readFile(path, result);
        if (read && isRecorded(key))
            known_[key] = result;
        return read;
    }
    TsStatus writeFile(const std::wstring& path, const std::string& bytes) override
    {
        if (const TsStatus kept = remember(path); !kept)
            return kept;
        const TsStatus written = files_.writeFile(path, bytes);
        const std::wstring key = keyOf(path);
        if (written && isRecorded(key))
            known_[key] = bytes;
        else
            known_.erase(key);
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

    // The settings file and the folder, which every command changes, recorded in one write
    // before it runs: one write of the store fewer than recording each on its first change.
    TsStatus rememberFirst()
    {
        RecordedPath folder {.path = record_.folder, .isFolder = true}, settings;
        // What cannot be read now is recorded when the command first changes it, or
        // refused then.
        if (!files_.fullPath(record_.folder + L"\\" + kDesktopIni, settings.path) || !readState(files_, settings)
            || !readState(files_, folder))
            return {};
        size_ = settings.bytes.size();
        if (settings.existed)
            known_[comparablePath(settings.path)] = settings.bytes;
        record_.paths = {std::move(settings), std::move(folder)};
        const TsStatus written = persist();
        if (!written)
            record_.paths.clear();
        return written;
    }

    // What the command left at a recorded path, for undo to tell what changed since.
    void noteLeft(RecordedPath& recorded)
    {
        RecordedPath now {.path = recorded.path, .isFolder = recorded.isFolder};
        const auto found = known_.find(comparablePath(now.path));
        if (found == known_.end()) {
            (void)readState(files_, now); // what cannot be read counts as changed later
        } else if (files_.getAttributes(now.path, now.attributes)) {
            now.existed = true;
            now.bytes = found->second;
        }
        recorded.leftExists = now.existed;
        recorded.leftAttributes = now.attributes;
        recorded.leftHash = hashBytes(now.bytes.data(), now.bytes.size());
    }

    bool storeFailed() const { return storeFailed_; }
    bool tooLarge() const { return tooLarge_; }
    TsStatus storeError() const { return storeError_; }
    const std::wstring& name() const { return name_; }

private:
    std::wstring keyOf(const std::wstring& path)
    {
        std::wstring full;
        return files_.fullPath(path, full) ? comparablePath(full) : L"";
    }
    bool isRecorded(const std::wstring& key) const
    {
        return std::any_of(record_.paths.begin(), record_.paths.end(),
                           [&](const RecordedPath& known) { return comparablePath(known.path) == key; });
    }
    void forget(const std::wstring& path) { known_.erase(keyOf(path)); }

    // The path's state added to the record, and the record written, before its first change.
    TsStatus remember(const std::wstring& path)
    {
        if (temps_.count(comparablePath(path)))
            return {};
        if (storeFailed_)
            return storeError_; // nothing more changes once the record cannot follow
        if (tooLarge_)
            return {};
        RecordedPath state;
        if (const TsStatus full = files_.fullPath(path, state.path); !full)
            return full;
        const std::wstring key = comparablePath(state.path);
        if (isRecorded(key))
            return {};
        state.isFolder = key == comparablePath(record_.folder);
        if (const TsStatus read = readState(files_, state); !read)
            return read;
        size_ += state.bytes.size();
        record_.paths.push_back(std::move(state));
        return persist();
    }

    // The record staged whole, unless it grew beyond its cap: then the command runs on,
    // and cannot be undone (an older record would undo something else).
    TsStatus persist()
    {
        if (size_ > limits_.record) {
            tooLarge_ = true;
            record_.paths.clear();
            (void)store_.remove(name_);
            return {};
        }
        if (const TsStatus staged = store_.stage(name_, encodeRecord(record_)); !staged) {
            record_.paths.pop_back();
            storeFailed_ = true;
            storeError_ = staged;
            return staged;
        }
        return {};
    }

    FolderFiles& files_;
    RecordStore& store_;
    FolderRecord& record_;
    UndoLimits limits_;
    std::wstring name_;
    std::set<std::wstring> temps_;
    // A recorded file's bytes while they are known without reading it: from the record,
    // or the command's own latest read or write. So the record costs the command no read
    // of the settings file, and no read after it to learn what it left.
    std::map<std::wstring, std::string> known_;
    std::uint64_t size_ = 0;
    bool tooLarge_ = false, storeFailed_ = false;
    TsStatus storeError_;
};

// The oldest records dropped until the store fits its bound; kept is never dropped.
void boundStore(RecordStore& store, const std::wstring& kept, std::uint64_t bound)
{
    std::vector<RecordStore::Entry> entries;
    if (!store.list(entries))
        return;
    std::uint64_t total = 0;
    for (const RecordStore::Entry& entry : entries)
        total += entry.size;
    std::sort(entries.begin(), entries.end(),
              [](const RecordStore::Entry& a, const RecordStore::Entry& b) { return a.written < b.written; });
    for (const RecordStore::Entry& entry : entries) {
        if (total <= bound)
            break;
        if (comparablePath(entry.name) != comparablePath(kept) && store.remove(entry.name))
            total -= entry.size;
    }
}

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

} // namespace

CommandOutcome runRecorded(FolderFiles& files, RecordStore& store, const std::wstring& folder, const CommandName& name,
                           const std::function<CommandOutcome(FolderFiles&)>& command, const UndoLimits& limits)
{
    if (folder.empty())
        return command(files);
    FolderRecord record {.command = name.command, .window = name.window, .time = name.time};
    if (const TsStatus full = files.fullPath(folder, record.folder); !full)
        return {Kind::RecordFailed, store.where(), full.error()};
    RecordingFiles recording(files, store, record, limits);
    CommandOutcome outcome = recording.rememberFirst() ? command(recording) : CommandOutcome {};
    if (recording.storeFailed()) {
        // What the command changed before the store failed goes back.
        std::vector<RecordedPath> current(record.paths.size());
        for (std::size_t i = 0; i < current.size(); ++i) {
            current[i].path = record.paths[i].path;
            current[i].isFolder = record.paths[i].isFolder;
        }
        (void)restoreAll(files, record.folder, record.paths, current);
        outcome = {Kind::RecordFailed, store.where(), recording.storeError().error()};
    }
    if (outcome.kind != Kind::Done || recording.tooLarge()) {
        // The folder's earlier record stays: a refused command changed nothing.
        store.unstage(recording.name());
        if (!record.paths.empty() || recording.tooLarge())
            outcome.undoable = false;
        return outcome;
    }
    if (record.paths.empty())
        return outcome;
    for (RecordedPath& recorded : record.paths)
        recording.noteLeft(recorded);
    if (!store.stage(recording.name(), encodeRecord(record)) || !store.keep(recording.name())) {
        (void)store.remove(recording.name());
        outcome.undoable = false;
    }
    boundStore(store, recording.name(), limits.store);
    return outcome;
}

RecordFound findRecord(FolderFiles& files, RecordStore& store, const std::wstring& folder, FolderRecord& record)
{
    std::wstring full;
    if (folder.empty() || !files.fullPath(folder, full))
        return RecordFound::None;
    std::string bytes;
    if (const TsStatus read = store.read(storeName(full), bytes); !read)
        return isMissing(read) ? RecordFound::None : RecordFound::Unusable;
    if (!decodeRecord(bytes, record) || comparablePath(record.folder) != comparablePath(full) || record.paths.empty())
        return RecordFound::Unusable;
    for (const RecordedPath& path : record.paths) {
        if (!holds(full, path.path) || path.isFolder != (comparablePath(path.path) == comparablePath(full)))
            return RecordFound::Unusable;
    }
    return RecordFound::Found;
}

UndoOutcome undoFolder(FolderFiles& files, RecordStore& store, const std::wstring& folder, bool evenIfChanged)
{
    FolderRecord record;
    switch (findRecord(files, store, folder, record)) {
    case RecordFound::None: return {UndoOutcome::Kind::Nothing};
    case RecordFound::Unusable: return {UndoOutcome::Kind::Unusable, store.where()};
    case RecordFound::Found: break;
    }
    // What is there now: to see what changed since, and to put back if the undo fails.
    std::vector<RecordedPath> current;
    std::wstring changed;
    for (const RecordedPath& recorded : record.paths) {
        RecordedPath now {.path = recorded.path, .isFolder = recorded.isFolder};
        if (const TsStatus read = readState(files, now); !read)
            return {UndoOutcome::Kind::Failed, now.path, read.error()};
        const bool same = now.isFolder
            || (now.existed == recorded.leftExists
                && (!now.existed
                    || ((now.attributes & kCompared) == (recorded.leftAttributes & kCompared)
                        && hashBytes(now.bytes.data(), now.bytes.size()) == recorded.leftHash)));
        if (!same)
            changed += (changed.empty() ? L"" : L"\n") + now.path;
        current.push_back(std::move(now));
    }
    if (!changed.empty() && !evenIfChanged)
        return {UndoOutcome::Kind::Changed, changed};
    // Files first, in the order the command changed them; the folder's attributes last.
    std::stable_partition(record.paths.begin(), record.paths.end(),
                          [](const RecordedPath& path) { return !path.isFolder; });
    std::stable_partition(current.begin(), current.end(), [](const RecordedPath& path) { return !path.isFolder; });
    const UndoOutcome restored = restoreAll(files, record.folder, record.paths, current);
    if (restored.kind == UndoOutcome::Kind::Done)
        (void)store.remove(storeName(record.folder));
    return restored;
}
