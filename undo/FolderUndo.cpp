#include "undo/FolderUndo.h"

#include "folderview/SettingsFormat.h"

#include <algorithm>
#include <windows.h>

namespace {

// The bits SetFileAttributes takes back; the rest the system keeps for itself.
constexpr std::uint32_t kSettable =
    kAttrReadOnly | kAttrHidden | kAttrSystem | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// What "changed since" compares: backup tools clear the archive bit on their own.
constexpr std::uint32_t kCompared = kAttrReadOnly | kAttrHidden | kAttrSystem;

bool isMissing(TsStatus status)
{
    return status.error() == ERROR_FILE_NOT_FOUND || status.error() == ERROR_PATH_NOT_FOUND;
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

// The state at each recorded path now.
TsStatus readCurrent(FolderFiles& files, const std::vector<RecordedPath>& recorded, std::vector<RecordedPath>& current)
{
    current.clear();
    for (const RecordedPath& path : recorded) {
        RecordedPath now {.path = path.path, .isFolder = path.isFolder};
        if (const TsStatus read = readPathState(files, now); !read)
            return read;
        current.push_back(std::move(now));
    }
    return {};
}

bool sameAsLeft(const RecordedPath& now, const RecordedPath& recorded)
{
    return now.isFolder
        || (now.existed == recorded.leftExists
            && (!now.existed
                || ((now.attributes & kCompared) == (recorded.leftAttributes & kCompared)
                    && hashBytes(now.bytes.data(), now.bytes.size()) == recorded.leftHash)));
}

bool sameAsBefore(const RecordedPath& now, const RecordedPath& recorded)
{
    return now.existed == recorded.existed
        && (!now.existed || (settable(now.attributes) == settable(recorded.attributes) && now.bytes == recorded.bytes));
}

} // namespace

TsStatus readPathState(FolderFiles& files, RecordedPath& state)
{
    state.existed = false;
    state.bytes.clear();
    const TsStatus status = files.getAttributes(state.path, state.attributes);
    if (!status)
        return isMissing(status) ? TsStatus() : status;
    state.existed = true;
    return state.isFolder ? TsStatus() : files.readFile(state.path, state.bytes);
}

UndoOutcome restorePaths(FolderFiles& files, const std::wstring& folder, const std::vector<RecordedPath>& states,
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

std::wstring changedSince(FolderFiles& files, const JournalFolder& folder)
{
    if (!folder.ended)
        return {};
    std::wstring changed;
    for (const RecordedPath& recorded : folder.paths) {
        RecordedPath now {.path = recorded.path, .isFolder = recorded.isFolder};
        if (!readPathState(files, now) || !sameAsLeft(now, recorded))
            changed += (changed.empty() ? L"" : L"\n") + now.path;
    }
    return changed;
}

UndoOutcome undoJournalFolder(FolderFiles& files, const JournalFolder& folder, bool evenIfChanged)
{
    if (!folder.usable || folder.paths.empty())
        return {UndoOutcome::Kind::Nothing};
    if (!evenIfChanged) {
        if (std::wstring changed = changedSince(files, folder); !changed.empty())
            return {UndoOutcome::Kind::Changed, std::move(changed)};
    }
    // Files first, in the order the command changed them; the folder's attributes last.
    std::vector<RecordedPath> states = folder.paths;
    std::stable_partition(states.begin(), states.end(), [](const RecordedPath& path) { return !path.isFolder; });
    std::vector<RecordedPath> current;
    if (const TsStatus read = readCurrent(files, states, current); !read)
        return {UndoOutcome::Kind::Failed, folder.folder, read.error()};
    // A path already as it was is left alone: a run that ended before changing it, or a
    // temporary file never made.
    std::vector<RecordedPath> toPut, now;
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i].isFolder ? settable(current[i].attributes) != settable(states[i].attributes)
                               : !sameAsBefore(current[i], states[i])) {
            toPut.push_back(states[i]);
            now.push_back(current[i]);
        }
    }
    return restorePaths(files, folder.folder, toPut, now);
}
