// Scale probe: how the time to load a folder's settings and apply a change grows with
// the size of its Desktop.INI. Other programs' sections pad the file around ours, as
// they may in a folder the user already customised.
//
// Usage: ScaleProbe RUNS
// Prints one "scale TARGET_KIB FILE_BYTES MILLISECONDS" line per file size, the
// median of RUNS load-and-apply rounds on the real file system, and one "check
// TARGET_KIB MILLISECONDS" line: what Apply's read-back check costs of that; then, for
// 1 KiB and 1 MiB, one "record TARGET_KIB APPLY_MS RECORDED_MS SHARE LOW HIGH" line:
// Apply alone and Apply with the record of the folder as it was, which undo puts back;
// then what the record adds, in per cent of Apply: the median of the rounds' ratios and
// the quartiles around it, since this machine's times spread widely.
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "folderview/SettingsFormat.h"
#include "folderview/SettingsText.h"
#include "folderview/Win32FolderFiles.h"
#include "support/Handles.h"
#include "undo/CommandJournal.h"
#include "undo/Win32JournalStore.h"

#include "Measure.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Our sections, as an earlier Apply left them.
const std::string kOurSections = "[ExtShellFolderViews]\r\n"
                                 "{BE098140-A513-11D0-A3A4-00C04FD706EC}={BE098140-A513-11D0-A3A4-00C04FD706EC}\r\n"
                                 "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                                 "Attributes=1\r\n"
                                 "IconArea_Image=sea.jpg\r\n"
                                 "IconArea_Text=0x00FFFFFF\r\n"
                                 "IconArea_TextBackground=0x00804000\r\n"
                                 "[.ShellClassInfo]\r\n"
                                 "ConfirmFileOp=0\r\n";

// Other programs' sections of sixteen keys each, numbered on from section, until the
// text reaches size bytes.
std::string padding(std::size_t size, int& section)
{
    std::string text;
    while (text.size() < size) {
        char line[96];
        std::snprintf(line, sizeof line, "[Other.%05d]\r\n", section++);
        text += line;
        for (int key = 0; key < 16 && text.size() < size; ++key) {
            std::snprintf(line, sizeof line, "Entry%02d=value of another program's setting, %05d\r\n", key, section);
            text += line;
        }
    }
    return text;
}

// Times RUNS rounds on a file of about targetKiB: load, a new text colour as the user
// would pick it, Apply. Each round starts from the same file. False, with the reason
// printed, when a round does not read the file's settings or does not save the change.
bool measureSize(const std::wstring& folder, long runs, std::size_t targetKiB)
{
    constexpr ColorValue kNewTextColor = 0x0000FF;
    const std::wstring path = folder + L"\\" + kDesktopIni;
    const std::size_t padBytes = targetKiB * 1024 > kOurSections.size() ? targetKiB * 1024 - kOurSections.size() : 0;
    int section = 0;
    const std::string content =
        padding(padBytes / 2, section) + kOurSections + padding(padBytes - padBytes / 2, section);

    Win32FolderFiles files;
    std::vector<double> milliseconds, checkMilliseconds;
    // The first round is untimed: it brings the program's code and the file into the caches.
    for (long run = -1; run < runs; ++run) {
        if (!writeOldFile(path, content)) {
            std::fwprintf(stderr, L"cannot write %ls, error %lu\n", path.c_str(), GetLastError());
            return false;
        }
        FolderLookState state;
        state.folder = folder;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        const bool loaded = loadFolderLook(files, state).ok() && state.picture == L"sea.jpg"
            && state.textColorOn == kTicked && state.textColor == 0xFFFFFF && state.backColorOn == kTicked
            && state.backColor == 0x804000;
        state.textColor = kNewTextColor;
        const std::vector<SettingEdit> edits = lookEdits(state, state.picture, Command::Apply);
        SettingsLocation file;
        const bool saved = findSettingsFile(files, folder, file)
            && writeSettings(files, folder, file, edits, true).kind == CommandOutcome::Kind::Done;
        const double elapsed = millisecondsSince(start);

        // The check on its own: both readings of the file, their comparison and the text comparison.
        std::string after;
        QueryPerformanceCounter(&start);
        std::vector<ProfileSection> was, now;
        const bool checked = files.readFile(path, after) && files.readSections(content, was)
            && files.readSections(after, now) && !changedLine(was, now, edits) && !lostLine(content, after, edits);
        const double checkElapsed = millisecondsSince(start);

        FolderLookState check;
        check.folder = folder;
        if (!loaded || !saved || !checked || !loadFolderLook(files, check) || check.textColor != kNewTextColor
            || check.backColor != 0x804000 || check.picture != L"sea.jpg") {
            std::fwprintf(stderr, L"%lu KiB: the round did not load the settings and apply the change\n",
                          static_cast<unsigned long>(targetKiB));
            return false;
        }
        if (run >= 0) {
            milliseconds.push_back(elapsed);
            checkMilliseconds.push_back(checkElapsed);
        }
    }
    std::wprintf(L"scale %lu %lu %.2f\n", static_cast<unsigned long>(targetKiB),
                 static_cast<unsigned long>(content.size()), median(milliseconds));
    std::wprintf(L"check %lu %.2f\n", static_cast<unsigned long>(targetKiB), median(checkMilliseconds));
    std::fflush(stdout);
    return true;
}

// Times RUNS Applies of a new text colour on a file of about targetKiB, alone and with
// its record, in turns so that both meet the same caches. The records go to a store
// folder beside the measured one.
bool measureRecord(const std::wstring& folder, long runs, std::size_t targetKiB)
{
    const std::wstring path = folder + L"\\" + kDesktopIni;
    int section = 0;
    const std::string content = kOurSections + padding(targetKiB * 1024, section);
    Win32FolderFiles files;
    Win32JournalStore store(folder + L".records");
    FolderLookState state;
    state.folder = folder;
    // The command as the main window runs it, with and without its record.
    const auto apply = [&](FolderFiles& through, const std::wstring& at) {
        FolderLookState own = state;
        own.folder = at;
        return runLookCommand(through, own, Command::Apply);
    };
    std::vector<double> plain, recorded;
    for (long run = -1; run < runs; ++run) {
        for (const bool record : {false, true}) {
            if (!writeOldFile(path, content) || !loadFolderLook(files, state)) {
                std::fwprintf(stderr, L"cannot write or load %ls\n", path.c_str());
                return false;
            }
            state.textColor = static_cast<ColorValue>(run + 2);
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            const CommandOutcome outcome = record
                ? runRecorded(files, store, folder, {L"Установить!", L"Quenmark", {}}, apply)
                : apply(files, folder);
            const double elapsed = millisecondsSince(start);
            if (outcome.kind != CommandOutcome::Kind::Done || (record && !outcome.undoable)) {
                std::fwprintf(stderr, L"%lu KiB: Apply failed\n", static_cast<unsigned long>(targetKiB));
                return false;
            }
            if (run >= 0)
                (record ? recorded : plain).push_back(elapsed);
        }
    }
    std::vector<double> shares;
    for (std::size_t i = 0; i < plain.size(); ++i)
        shares.push_back((recorded[i] / plain[i] - 1) * 100);
    std::wprintf(L"record %lu %.2f %.2f %.1f %.1f %.1f\n", static_cast<unsigned long>(targetKiB), median(plain),
                 median(recorded), median(shares), percentile(shares, 25), percentile(shares, 75));
    std::fflush(stdout);
    removeJournalStore(folder + L".records");
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const long runs = onlyRunsArgument(argc, argv, L"ScaleProbe");
    if (runs == 0)
        return 2;

    const std::wstring folder = makeProbeFolder(L"QuenmarkScale");
    if (folder.empty())
        return 1;

    bool ok = true;
    for (const std::size_t targetKiB : {1u, 100u, 1024u}) {
        ok = measureSize(folder, runs, targetKiB);
        if (!ok)
            break;
    }
    // At 1 KiB the record's share is a small difference of two short, scattered times:
    // twenty times the rounds.
    for (const std::size_t targetKiB : {1u, 1024u}) {
        if (ok)
            ok = measureRecord(folder, targetKiB == 1 ? runs * 20 : runs, targetKiB);
    }

    // Apply made the file hidden and system and the folder read-only.
    const std::wstring path = folder + L"\\" + kDesktopIni;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
    return ok ? 0 : 1;
}
