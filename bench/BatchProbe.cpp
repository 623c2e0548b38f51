// Batch probe: a command over many folders. Apply over 1,000 folders with a 1 KiB
// Desktop.INI each, each folder as the main window applies to one (runRecorded around
// runLookCommand), then the same without the record, to tell the record's share; the
// listing of a tree of 10,000 folders; and what the process holds for a listed folder.
//
// Usage: BatchProbe RUNS
// Prints, on the real file system:
//   "apply FOLDERS RECORDED_MS PLAIN_MS STORE_MS": one batch each; STORE_MS is the part
//     of RECORDED_MS spent in the journal store's calls;
//   "calls recorded|plain CALL COUNT MS": the time of each kind of call on the files
//     and the store, to tell where a batch's time goes;
//   "hundred N RECORDED_MS PLAIN_MS": the N-th hundred folders of each batch;
//   "list FOLDERS MS OPEN_MS LIST_MS": the median of RUNS listings of the tree, of RUNS
//     rounds of opening and closing each of its folders, and of RUNS rounds of listing
//     each folder by its known path, with no walk around the calls;
//   "memory FOLDERS BEFORE_KIB LISTED_KIB OUTCOMES_KIB": the working set before the
//     listing, holding its paths, and holding as well one outcome a folder, each naming
//     the folder's settings file (as a failed folder's does; a done one names nothing).
#include "batch/FolderWalk.h"
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "folderview/SettingsFormat.h"
#include "folderview/Win32FolderFiles.h"
#include "support/Handles.h"
#include "undo/CommandJournal.h"
#include "undo/Win32JournalStore.h"

#include "Measure.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kBatchFolders = 1000;
constexpr int kTreeTops = 100, kTreeBelowEach = 99; // 10,000 folders in all

// The time spent in each kind of call on the file system, to tell where a batch's goes.
class CallClock {
public:
    template <typename Call> TsStatus time(const wchar_t* name, Call run)
    {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        const TsStatus status = run();
        Spent& spent = calls_[name];
        spent.milliseconds += millisecondsSince(start);
        ++spent.count;
        return status;
    }
    double total(const std::wstring& prefix) const
    {
        double sum = 0;
        for (const auto& [name, spent] : calls_)
            sum += name.starts_with(prefix) ? spent.milliseconds : 0;
        return sum;
    }
    void print(const wchar_t* batch) const
    {
        for (const auto& [name, spent] : calls_)
            std::wprintf(L"calls %ls %ls %d %.0f\n", batch, name.c_str(), spent.count, spent.milliseconds);
    }

private:
    struct Spent {
        int count = 0;
        double milliseconds = 0;
    };
    std::map<std::wstring, Spent> calls_;
};

class TimedStore : public JournalStore {
public:
    TimedStore(const std::wstring& root, CallClock& clock) : store_(root), clock_(clock) {}
    TsStatus list(std::vector<Entry>& entries) override
    {
        return clock_.time(L"store.list", [&] { return store_.list(entries); });
    }
    TsStatus listUnfinished(std::vector<Entry>& entries) override
    {
        return clock_.time(L"store.listUnfinished", [&] { return store_.listUnfinished(entries); });
    }
    TsStatus create(std::wstring& id) override
    {
        return clock_.time(L"store.create", [&] { return store_.create(id); });
    }
    TsStatus resume(const std::wstring& id, std::uint64_t length) override
    {
        return clock_.time(L"store.resume", [&] { return store_.resume(id, length); });
    }
    TsStatus append(const std::string& bytes) override
    {
        return clock_.time(L"store.append", [&] { return store_.append(bytes); });
    }
    TsStatus flush() override
    {
        return clock_.time(L"store.flush", [&] { return store_.flush(); });
    }
    TsStatus finish() override
    {
        return clock_.time(L"store.finish", [&] { return store_.finish(); });
    }
    void close() override
    {
        (void)clock_.time(L"store.close", [&] {
            store_.close();
            return TsStatus();
        });
    }
    TsStatus size(const std::wstring& id, std::uint64_t& bytes) override
    {
        return clock_.time(L"store.size", [&] { return store_.size(id, bytes); });
    }
    TsStatus readAt(const std::wstring& id, std::uint64_t offset, std::size_t size, std::string& bytes) override
    {
        return clock_.time(L"store.readAt", [&] { return store_.readAt(id, offset, size, bytes); });
    }
    TsStatus remove(const std::wstring& id) override
    {
        return clock_.time(L"store.remove", [&] { return store_.remove(id); });
    }
    std::wstring where() const override { return store_.where(); }

private:
    Win32JournalStore store_;
    CallClock& clock_;
};

class TimedFiles : public FolderFiles {
public:
    explicit TimedFiles(CallClock& clock) : clock_(clock) {}
    TsStatus isFileExist(const std::wstring& path, bool& result) override
    {
        return clock_.time(L"isFileExist", [&] { return files_.isFileExist(path, result); });
    }
    TsStatus readString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                        const std::wstring& path, std::wstring& result) override
    {
        return clock_.time(L"readString", [&] { return files_.readString(section, key, defaultText, path, result); });
    }
    TsStatus readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                      const std::wstring& path, std::int32_t& result) override
    {
        return clock_.time(L"readLong", [&] { return files_.readLong(section, key, defaultValue, path, result); });
    }
    TsStatus isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                        bool& result) override
    {
        return clock_.time(L"isKeyExist", [&] { return files_.isKeyExist(section, key, path, result); });
    }
    TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                      const std::wstring& path) override
    {
        return clock_.time(L"writeINI", [&] { return files_.writeINI(section, key, value, path); });
    }
    TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) override
    {
        return clock_.time(L"getAttributes", [&] { return files_.getAttributes(path, result); });
    }
    TsStatus setAttributes(const std::wstring& path, std::uint32_t attributes) override
    {
        return clock_.time(L"setAttributes", [&] { return files_.setAttributes(path, attributes); });
    }
    TsStatus copyFile(const std::wstring& source, const std::wstring& target) override
    {
        return clock_.time(L"copyFile", [&] { return files_.copyFile(source, target); });
    }
    TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) override
    {
        return clock_.time(L"isSameFile", [&] { return files_.isSameFile(first, second, result); });
    }
    TsStatus canRead(const std::wstring& path) override
    {
        return clock_.time(L"canRead", [&] { return files_.canRead(path); });
    }
    TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) override
    {
        return clock_.time(L"makeTempFile", [&] { return files_.makeTempFile(folder, path); });
    }
    TsStatus makeFile(const std::wstring& path) override
    {
        return clock_.time(L"makeFile", [&] { return files_.makeFile(path); });
    }
    TsStatus moveFile(const std::wstring& from, const std::wstring& to) override
    {
        return clock_.time(L"moveFile", [&] { return files_.moveFile(from, to); });
    }
    TsStatus replaceFile(const std::wstring& replacement, const std::wstring& replaced) override
    {
        return clock_.time(L"replaceFile", [&] { return files_.replaceFile(replacement, replaced); });
    }
    TsStatus readFile(const std::wstring& path, std::string& result) override
    {
        return clock_.time(L"readFile", [&] { return files_.readFile(path, result); });
    }
    TsStatus writeFile(const std::wstring& path, const std::string& bytes) override
    {
        return clock_.time(L"writeFile", [&] { return files_.writeFile(path, bytes); });
    }
    TsStatus deleteFile(const std::wstring& path) override
    {
        return clock_.time(L"deleteFile", [&] { return files_.deleteFile(path); });
    }
    TsStatus readSections(const std::string& bytes, std::vector<ProfileSection>& result) override
    {
        return clock_.time(L"readSections", [&] { return files_.readSections(bytes, result); });
    }
    TsStatus freeSpace(const std::wstring& folder, std::uint64_t& bytes) override
    {
        return clock_.time(L"freeSpace", [&] { return files_.freeSpace(folder, bytes); });
    }
    TsStatus fullPath(const std::wstring& path, std::wstring& result) override
    {
        return clock_.time(L"fullPath", [&] { return files_.fullPath(path, result); });
    }

private:
    Win32FolderFiles files_;
    CallClock& clock_;
};

// Apply over the folders, each through the record as the main window runs it, then
// again without; each batch starts from the same files.
bool measureApply(const std::wstring& top)
{
    const std::string content = oneKiBFile();
    std::vector<std::wstring> folders;
    for (int i = 0; i < kBatchFolders; ++i) {
        folders.push_back(top + L"\\" + std::to_wstring(1000 + i));
        if (!CreateDirectoryW(folders.back().c_str(), nullptr))
            return false;
    }
    Win32FolderFiles files;
    FolderLookState look;
    look.folder = folders[0];
    if (!writeOldFile(folders[0] + L"\\" + kDesktopIni, content) || !loadFolderLook(files, look))
        return false;
    look.textColor = 0x0000FF;
    const std::wstring storeFolder = top + L".records";
    CallClock clocks[2]; // without, with the record
    double total[2] = {};
    std::vector<double> hundreds[2];
    for (const bool recorded : {true, false}) {
        for (const std::wstring& folder : folders) {
            if (!writeOldFile(folder + L"\\" + kDesktopIni, content))
                return false;
        }
        TimedFiles timedFiles(clocks[recorded]);
        TimedStore store(storeFolder, clocks[recorded]);
        LARGE_INTEGER start, hundred;
        QueryPerformanceCounter(&start);
        hundred = start;
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const auto apply = [&](FolderFiles& through, const std::wstring& folder) {
                FolderLookState own = look;
                own.folder = folder;
                return runLookCommand(through, own, Command::Apply);
            };
            const CommandOutcome outcome = recorded
                ? runRecorded(timedFiles, store, folders[i], {L"Установить!", L"Quenmark", {}}, apply)
                : apply(timedFiles, folders[i]);
            if (outcome.kind != CommandOutcome::Kind::Done || (recorded && !outcome.undoable)) {
                std::fwprintf(stderr, L"Apply failed on %ls\n", folders[i].c_str());
                return false;
            }
            if ((i + 1) % 100 == 0) {
                hundreds[recorded].push_back(millisecondsSince(hundred));
                QueryPerformanceCounter(&hundred);
            }
        }
        total[recorded] = millisecondsSince(start);
    }
    std::wprintf(L"apply %d %.0f %.0f %.0f\n", kBatchFolders, total[1], total[0], clocks[1].total(L"store."));
    clocks[1].print(L"recorded");
    clocks[0].print(L"plain");
    for (std::size_t i = 0; i < hundreds[1].size(); ++i)
        std::wprintf(L"hundred %u %.0f %.0f\n", static_cast<unsigned>(i + 1), hundreds[1][i], hundreds[0][i]);

    removeJournalStore(storeFolder);
    for (const std::wstring& folder : folders)
        removeAppliedFolder(folder);
    return true;
}

SIZE_T workingSetKiB()
{
    PROCESS_MEMORY_COUNTERS counters {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize / 1024;
}

// The memory first, before other work leaves freed pages in the heap; then the times.
bool measureListing(const std::wstring& top, long runs)
{
    std::vector<std::wstring> made;
    for (int i = 0; i < kTreeTops; ++i) {
        made.push_back(top + L"\\Год " + std::to_wstring(1900 + i));
        for (int j = 0; j < kTreeBelowEach; ++j)
            made.push_back(made[made.size() - 1 - j] + L"\\Событие " + std::to_wstring(j));
    }
    for (const std::wstring& folder : made) {
        if (!CreateDirectoryW(folder.c_str(), nullptr))
            return false;
    }
    const std::atomic<bool> go {false};
    bool ok = true;
    {
        const SIZE_T before = workingSetKiB();
        const Subfolders listed = listSubfolders(top, go);
        const SIZE_T withPaths = workingSetKiB();
        std::vector<CommandOutcome> outcomes;
        for (const std::wstring& folder : listed.folders)
            outcomes.push_back({CommandOutcome::Kind::SaveFailed, folder + L"\\" + kDesktopIni, ERROR_ACCESS_DENIED});
        std::wprintf(L"memory %u %u %u %u\n", static_cast<unsigned>(listed.folders.size()),
                     static_cast<unsigned>(before), static_cast<unsigned>(withPaths),
                     static_cast<unsigned>(workingSetKiB()));
        ok = listed.folders.size() == made.size() && listed.unreadable.empty();
    }
    // The floors beside it, in turns so that all meet the same caches: opening and
    // closing each folder, which any walk must at least do, and listing each folder with
    // the walk's own calls, which are most of its time.
    std::vector<double> milliseconds, openFloor, listFloor;
    for (long run = -1; ok && run < runs; ++run) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        const Subfolders listed = listSubfolders(top, go);
        const double listing = millisecondsSince(start);
        QueryPerformanceCounter(&start);
        for (const std::wstring& folder : made) {
            CloseHandle(CreateFileW((L"\\\\?\\" + folder).c_str(), FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        }
        const double opening = millisecondsSince(start);
        QueryPerformanceCounter(&start);
        for (const std::wstring& folder : made) {
            WIN32_FIND_DATAW entry;
            const FindHandle find(FindFirstFileExW((L"\\\\?\\" + folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                                   FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH));
            while (find && FindNextFileW(find.get(), &entry)) {}
        }
        if (run >= 0) {
            milliseconds.push_back(listing);
            openFloor.push_back(opening);
            listFloor.push_back(millisecondsSince(start));
        }
        ok = listed.folders.size() == made.size();
    }
    if (ok)
        std::wprintf(L"list %u %.0f %.0f %.0f\n", static_cast<unsigned>(made.size()), median(milliseconds),
                     median(openFloor), median(listFloor));
    else
        std::fwprintf(stderr, L"the listing missed folders of the tree\n");
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const long runs = onlyRunsArgument(argc, argv, L"BatchProbe");
    if (runs == 0)
        return 2;
    const std::wstring top = makeProbeFolder(L"QuenmarkBatch");
    if (top.empty())
        return 1;
    const std::wstring tree = top + L"\\tree", batch = top + L"\\batch";
    if (!CreateDirectoryW(tree.c_str(), nullptr) || !CreateDirectoryW(batch.c_str(), nullptr)) {
        std::fwprintf(stderr, L"cannot make %ls, error %lu\n", top.c_str(), GetLastError());
        return 1;
    }
    bool ok = measureListing(tree, runs);
    std::fflush(stdout);
    ok = ok && measureApply(batch);
    if (!ok)
        std::fwprintf(stderr, L"the batch probe failed, error %lu\n", GetLastError());
    RemoveDirectoryW(tree.c_str());
    RemoveDirectoryW(batch.c_str());
    RemoveDirectoryW(top.c_str());
    return ok ? 0 : 1;
}
