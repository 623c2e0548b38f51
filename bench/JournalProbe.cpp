// Journal probe: what the journal of commands costs a command over many folders. Apply
// over 1,000 folders with a 1 KiB Desktop.INI each, run as the list runs it (BatchRun
// and lookStep: one entry, the records of 25 folders flushed at a time), three ways in
// turns: into an empty journal; the same with the flushes made free (the store says
// done without putting anything on the disk); and into a journal already holding
// 10,000 finished entries. Then one folder's Apply as the main window runs it (an entry
// of its own) into the full journal and into the empty one. Each batch starts from the
// same files, and its entry is removed after it, so that the journals stay as they were.
//
// Usage: JournalProbe RUNS
// Prints how long the 10,000 entries took to make ("fill ENTRIES MS"), "round ..." lines, then:
//   "flush FOLDERS FLUSHED_MS FREE_MS RATIO FLUSHES": the medians of RUNS batches into
//     the empty journal, with and without the flushes, the median of the rounds' own
//     ratios, and how many flushes the batch asked for;
//   "stored ENTRIES ENTRY_BYTES FULL_MS EMPTY_MS RATIO": the batches into the full
//     journal beside those into the empty one, the size of each of its entries;
//   "single ENTRIES FULL_MS EMPTY_MS RATIO": one folder's Apply, 10 * RUNS times each.
#include "app/FolderSteps.h"
#include "batch/BatchRun.h"
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "folderview/Win32FolderFiles.h"
#include "support/tsFile.h"
#include "undo/CommandJournal.h"
#include "undo/Win32JournalStore.h"

#include "FilledJournal.h"
#include "Measure.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kFolders = 1000;
constexpr std::size_t kStoredEntries = 10000;

// The real store, counting the flushes asked of it, or making them free.
class CountingStore : public Win32JournalStore {
public:
    CountingStore(const std::wstring& root, bool freeFlushes) : Win32JournalStore(root), free_(freeFlushes) {}
    TsStatus flush() override
    {
        ++flushes_;
        return free_ ? TsStatus() : Win32JournalStore::flush();
    }
    std::size_t flushes() const { return flushes_; }

private:
    bool free_;
    std::size_t flushes_ = 0;
};

// Removes the entries made after the newest one kept (all when keep is empty).
bool removeEntriesAfter(const std::wstring& root, const std::wstring& keep)
{
    Win32JournalStore store(root);
    std::vector<JournalStore::Entry> entries;
    if (!store.list(entries))
        return false;
    for (const JournalStore::Entry& entry : entries) {
        if (entry.id > keep && !store.remove(entry.id))
            return false;
    }
    return true;
}

std::size_t entriesIn(const std::wstring& root)
{
    Win32JournalStore store(root);
    std::vector<JournalStore::Entry> entries;
    return store.list(entries) ? entries.size() : 0;
}

// One Apply over the folders as the list runs it, from the same files each time: its
// milliseconds, or a negative number, after saying why, when a folder was not done.
double runBatch(JournalStore& store, const std::vector<std::wstring>& folders, const FolderLookState& look)
{
    const std::string content = oneKiBFile();
    for (const std::wstring& folder : folders) {
        if (!writeOldFile(folder + L"\\Desktop.INI", content))
            return -1;
    }
    Win32FolderFiles files;
    BatchRun run;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const FolderStep step = lookStep(files, store, {L"Установить!", L"Quenmark", {}}, look, Command::Apply);
    if (!run.start(folders.size(), step(folders), nullptr, 0)) {
        std::fwprintf(stderr, L"the batch did not start\n");
        return -1;
    }
    run.wait();
    const double elapsed = millisecondsSince(start);
    const auto outcomes = run.take();
    std::size_t done = 0;
    for (const auto& [index, outcome] : outcomes)
        done += outcome.state == FolderOutcome::State::Done && outcome.undoable ? 1 : 0;
    if (done != folders.size()) {
        std::fwprintf(stderr, L"the batch did %u folders of %u\n", static_cast<unsigned>(done),
                      static_cast<unsigned>(folders.size()));
        return -1;
    }
    return elapsed;
}

// One folder's Apply as the main window runs it, from the same file each time.
double runOne(const std::wstring& storeRoot, const std::wstring& folder, const FolderLookState& look)
{
    if (!writeOldFile(folder + L"\\Desktop.INI", oneKiBFile()))
        return -1;
    Win32FolderFiles files;
    Win32JournalStore store(storeRoot);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const CommandOutcome outcome = runRecorded(files, store, folder, {L"Установить!", L"Quenmark", {}},
                                               [&](FolderFiles& through, const std::wstring& at) {
                                                   FolderLookState own = look;
                                                   own.folder = at;
                                                   return runLookCommand(through, own, Command::Apply);
                                               });
    const double elapsed = millisecondsSince(start);
    if (outcome.kind != CommandOutcome::Kind::Done || !outcome.undoable) {
        std::fwprintf(stderr, L"Apply failed on %ls\n", folder.c_str());
        return -1;
    }
    return elapsed;
}

std::vector<double> ratios(const std::vector<double>& measured, const std::vector<double>& against)
{
    std::vector<double> result;
    for (std::size_t i = 0; i < measured.size(); ++i)
        result.push_back(measured[i] / against[i]);
    return result;
}

bool measure(const std::vector<std::wstring>& folders, const std::wstring& empty, const std::wstring& full, long runs)
{
    for (const std::wstring& folder : folders) {
        if (!CreateDirectoryW(folder.c_str(), nullptr))
            return false;
    }
    FilledJournal filled;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!fillJournal(full, kStoredEntries, filled))
        return false;
    std::wprintf(L"fill %u %.0f\n", static_cast<unsigned>(kStoredEntries), millisecondsSince(start));
    Win32FolderFiles files;
    FolderLookState look;
    look.folder = folders[0];
    if (!writeOldFile(folders[0] + L"\\Desktop.INI", oneKiBFile()) || !loadFolderLook(files, look))
        return false;
    look.textColor = 0x0000FF;

    enum Kind { Flushed, Free, Stored, kKinds };
    std::vector<double> times[kKinds];
    std::size_t flushes = 0;
    bool ok = true;
    // An untimed batch first brings the code and the files into the caches; then the
    // three take turns, each first as often as the others.
    for (long round = -1; ok && round < runs; ++round) {
        for (int turn = 0; ok && turn < (round < 0 ? 1 : kKinds); ++turn) {
            const auto kind = static_cast<Kind>((round + 1 + turn) % kKinds);
            const std::wstring& root = kind == Stored ? full : empty;
            CountingStore store(root, kind == Free);
            const double elapsed = runBatch(store, folders, look);
            // The journal's bound must keep all 10,000 and the batch's own entry.
            ok = elapsed >= 0 && (kind != Stored || entriesIn(full) == kStoredEntries + 1)
                && removeEntriesAfter(root, kind == Stored ? filled.newest : L"");
            if (ok && round >= 0)
                times[kind].push_back(elapsed);
            if (kind == Flushed)
                flushes = store.flushes();
        }
        if (ok && round >= 0) {
            std::wprintf(L"round %ld %.0f %.0f %.0f\n", round + 1, times[Flushed].back(), times[Free].back(),
                         times[Stored].back());
            std::fflush(stdout);
        }
    }
    if (!ok) {
        std::fwprintf(stderr, L"a batch failed, or the journal's bound removed entries\n");
        return false;
    }
    std::wprintf(L"flush %d %.0f %.0f %.3f %u\n", kFolders, median(times[Flushed]), median(times[Free]),
                 median(ratios(times[Flushed], times[Free])), static_cast<unsigned>(flushes));
    std::wprintf(L"stored %u %u %.0f %.0f %.3f\n", static_cast<unsigned>(kStoredEntries),
                 static_cast<unsigned>(filled.entryBytes), median(times[Stored]), median(times[Flushed]),
                 median(ratios(times[Stored], times[Flushed])));
    std::fflush(stdout);

    // Short and scattered: ten times the rounds.
    std::vector<double> one[2]; // into the empty journal, into the full one
    for (long round = -1; ok && round < 10 * runs; ++round) {
        for (int turn = 0; ok && turn < 2; ++turn) {
            const bool intoFull = (round + turn) % 2 != 0;
            const std::wstring& root = intoFull ? full : empty;
            const double elapsed = runOne(root, folders[0], look);
            ok = elapsed >= 0 && removeEntriesAfter(root, intoFull ? filled.newest : L"");
            if (ok && round >= 0)
                one[intoFull].push_back(elapsed);
        }
    }
    if (ok)
        std::wprintf(L"single %u %.2f %.2f %.3f\n", static_cast<unsigned>(kStoredEntries), median(one[1]),
                     median(one[0]), median(ratios(one[1], one[0])));
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const long runs = onlyRunsArgument(argc, argv, L"JournalProbe");
    if (runs == 0)
        return 2;
    const std::wstring top = makeProbeFolder(L"QuenmarkJournal");
    if (top.empty())
        return 1;
    std::vector<std::wstring> folders;
    for (int i = 0; i < kFolders; ++i)
        folders.push_back(tsCanonicalFolder(top + L"\\" + std::to_wstring(1000 + i)));
    const std::wstring empty = top + L"\\journal-empty", full = top + L"\\journal-full";
    const bool ok = measure(folders, empty, full, runs);
    if (!ok)
        std::fwprintf(stderr, L"the journal probe failed, error %lu\n", GetLastError());
    removeJournalStore(full);
    removeJournalStore(empty);
    for (const std::wstring& folder : folders)
        removeAppliedFolder(folder);
    RemoveDirectoryW(top.c_str());
    return ok ? 0 : 1;
}
