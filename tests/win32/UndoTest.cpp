#include "app/UndoCommand.h"
#include "batch/FolderList.h"
#include "common/TestFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/LookCommand.h"
#include "folderview/Win32FolderFiles.h"
#include "support/tsFile.h"
#include "undo/CommandJournal.h"
#include "undo/JournalUndo.h"
#include "undo/Win32JournalStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <tuple>

namespace {

using Kind = CommandOutcome::Kind;
using UndoKind = UndoOutcome::Kind;

// Everything in the folder as plain bytes and attributes, and the folder's own attributes.
using Snapshot = std::pair<DWORD, std::map<std::wstring, std::pair<std::string, DWORD>>>;
Snapshot snapshot(const std::wstring& folder)
{
    Snapshot result {attributesOf(folder), {}};
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            result.second[name] = {readFile(folder + L"\\" + name), found.dwFileAttributes};
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return result;
}

// A UTF-16 settings file as another tool leaves it: hidden, system and read-only.
void writeUtf16Ini(const std::wstring& path, const std::wstring& text)
{
    writeFile(path, std::string("\xFF\xFE") + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
}

// A program that ends at a chosen moment, as a crash or a power cut ends it: from the
// chosen call on, neither the journal nor the folder's files change any more.
struct Stop {
    int callsLeft = 1 << 30;
    bool proceed() { return callsLeft-- > 0; }
};

class StoppingStore : public Win32JournalStore {
public:
    StoppingStore(const std::wstring& root, Stop& stop) : Win32JournalStore(root), stop_(stop) {}

protected:
    bool proceed() override { return stop_.proceed(); }

private:
    Stop& stop_;
};

class StoppingFiles : public Win32FolderFiles {
public:
    explicit StoppingFiles(Stop& stop) : stop_(stop) {}
    TsStatus writeINI(const std::wstring& s, const std::wstring* k, const std::wstring* v, const std::wstring& p) override
    {
        return stop_.proceed() ? Win32FolderFiles::writeINI(s, k, v, p) : stopped();
    }
    TsStatus setAttributes(const std::wstring& path, std::uint32_t attributes) override
    {
        return stop_.proceed() ? Win32FolderFiles::setAttributes(path, attributes) : stopped();
    }
    TsStatus copyFile(const std::wstring& source, const std::wstring& target) override
    {
        return stop_.proceed() ? Win32FolderFiles::copyFile(source, target) : stopped();
    }
    TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) override
    {
        return stop_.proceed() ? Win32FolderFiles::makeTempFile(folder, path) : stopped();
    }
    TsStatus makeFile(const std::wstring& path) override
    {
        return stop_.proceed() ? Win32FolderFiles::makeFile(path) : stopped();
    }
    TsStatus moveFile(const std::wstring& from, const std::wstring& to) override
    {
        return stop_.proceed() ? Win32FolderFiles::moveFile(from, to) : stopped();
    }
    TsStatus writeFile(const std::wstring& path, const std::string& bytes) override
    {
        return stop_.proceed() ? Win32FolderFiles::writeFile(path, bytes) : stopped();
    }
    TsStatus deleteFile(const std::wstring& path) override
    {
        return stop_.proceed() ? Win32FolderFiles::deleteFile(path) : stopped();
    }

private:
    static TsStatus stopped() { return TsStatus::failure(ERROR_NOT_READY); }
    Stop& stop_;
};

class Undo : public testing::Test {
protected:
    CommandOutcome run(FolderFiles& through, JournalStore& in, const std::wstring& at, const FolderChange& change,
                       const UndoLimits& limits = {})
    {
        return runRecorded(through, in, at, name, change, limits);
    }
    FolderChange look(const std::wstring& picture, Command action = Command::Apply, ColorValue color = 0xFF)
    {
        return [=](FolderFiles& f, const std::wstring& at) {
            return runLookCommand(
                f, {.folder = at, .picture = picture, .copyPicture = kTicked, .textColorOn = kTicked, .textColor = color},
                action);
        };
    }
    CommandOutcome apply(const TempFolder& in, const std::wstring& picture = L"", ColorValue color = 0xFF,
                         const UndoLimits& limits = {})
    {
        return run(files, store, in.path(), look(picture, Command::Apply, color), limits);
    }
    // "Вернуть как было" as a later start runs it: a store and journal of its own.
    UndoOutcome undo(const std::wstring& at, bool evenIfChanged = false)
    {
        Win32JournalStore later(records.path());
        return undoLatest(files, later, at, {L"Вернуть как было", L"Quenmark", {}}, evenIfChanged);
    }
    std::wstring picture()
    {
        const std::wstring path = elsewhere.at(L"лес.bmp");
        writeFile(path, bmpBytes(4, 4, RGB(1, 2, 3), RGB(4, 5, 6)));
        return path;
    }

    TempFolder folder {L" Фото с дачи"}, elsewhere, records {L" журнал"};
    Win32FolderFiles files;
    Win32JournalStore store {records.path()};
    CommandName name {L"Установить!", L"Quenmark", {2026, 12, 7, 16, 40}};
};

} // namespace

// Each command, undone from a later start, leaves every byte and attribute of the folder
// as before; the undo is itself a command, which the journal can take back.
TEST_F(Undo, EachCommandIsUndoneExactlyAndTheUndoToo)
{
    const std::wstring source = picture();
    using Prepare = std::function<void(const TempFolder&)>;
    const std::vector<std::pair<Prepare, FolderChange>> cases = {
        // Apply with a copy over another tool's UTF-16 file.
        {[&](const TempFolder& in) { writeUtf16Ini(in.desktopIni(), L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n"); },
         look(source)},
        // Remove of our keys.
        {[&](const TempFolder& in) {
             writeFile(in.desktopIni(),
                       "[" + ansiBytes(kView) + "]\r\nIconArea_Image=лес.bmp\r\n[.ShellClassInfo]\r\nConfirmFileOp=0\r\n");
         },
         look(L"", Command::Remove)},
        // Apply that makes the settings file.
        {[](const TempFolder&) {}, look(L"")},
        // The dialog's Apply, whose icon of other bytes takes a new name and removes the
        // earlier copy: undo puts back both.
        {[&](const TempFolder& in) {
             writeFile(in.at(L"shell32.ico"), "earlier copy");
             SetFileAttributesW(in.at(L"shell32.ico").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
         },
         [](FolderFiles& f, const std::wstring& at) {
             const FolderInfo info {
                 .icon = L"%SystemRoot%\\system32\\shell32.dll,3", .infoTip = L"Дача", .copyIcon = kTicked};
             return runFolderInfoCommand(f, at, info, {}, Command::Apply);
         }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TempFolder in(L" дача " + std::to_wstring(i));
        cases[i].first(in);
        const Snapshot before = snapshot(in.path());
        ASSERT_EQ(run(files, store, in.path(), cases[i].second).kind, Kind::Done) << i;
        const Snapshot after = snapshot(in.path());
        ASSERT_NE(after, before) << i;
        EXPECT_EQ(undo(in.path()).kind, UndoKind::Done) << i;
        EXPECT_EQ(snapshot(in.path()), before) << i;
        EXPECT_EQ(undo(in.path()).kind, UndoKind::Nothing) << i;
        // The undo's own entry, taken back as the journal window does.
        Journal journal(store);
        ASSERT_TRUE(journal.refresh());
        const JournalEntry& undone = journal.entries().back();
        ASSERT_EQ(undone.header.kind, EntryKind::Undo);
        EXPECT_EQ(undoEntry(files, store, undone, tsCanonicalFolder(in.path()), name, false).kind, UndoKind::Done) << i;
        EXPECT_EQ(snapshot(in.path()), after) << i;
        SetFileAttributesW(in.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A file changed since the command is named and kept until the undo is confirmed; a
// refused command in between is not the one undone; each undo goes one command back.
TEST_F(Undo, ChangedFileIsNamedAndEachUndoGoesOneCommandBack)
{
    const Snapshot empty = snapshot(folder.path());
    ASSERT_EQ(apply(folder, L"", 0x11).kind, Kind::Done);
    const Snapshot first = snapshot(folder.path());
    ASSERT_EQ(apply(folder, L"", 0x22).kind, Kind::Done);
    EXPECT_EQ(run(files, store, folder.path(), [](FolderFiles&, const std::wstring&) { return CommandOutcome {Kind::SaveFailed}; })
                  .kind,
              Kind::SaveFailed);
    const std::string edited = readFile(folder.desktopIni()) + "[Другое]\r\nЗначение=1\r\n";
    SetFileAttributesW(folder.desktopIni().c_str(), FILE_ATTRIBUTE_NORMAL);
    writeFile(folder.desktopIni(), edited);
    const UndoOutcome asked = undo(folder.path());
    EXPECT_EQ(std::tuple(asked.kind, asked.subject), std::tuple(UndoKind::Changed, tsCanonicalFolder(folder.path()) + L"\\Desktop.INI"));
    EXPECT_EQ(readFile(folder.desktopIni()), edited);
    EXPECT_EQ(undo(folder.path(), true).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), first);
    EXPECT_EQ(undo(folder.path()).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), empty);
}

// The shell's command line ends the folder with a backslash; other spellings of the
// folder (its long form, other letter case, its short name) are the same folder, in the
// list and in the journal.
TEST_F(Undo, EverySpellingOfAFolderIsOneFolder)
{
    const Snapshot before = snapshot(folder.path());
    const CommandOutcome applied = run(files, store, folder.path() + L"\\", look(L""));
    ASSERT_EQ(std::tuple(applied.kind, applied.undoable), std::tuple(Kind::Done, true));
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(folder.path().c_str(), shortName, MAX_PATH), 0u);
    std::wstring upper = folder.path();
    CharUpperW(upper.data());
    const std::vector<std::wstring> spellings = {folder.path(), folder.path() + L"\\", L"\\\\?\\" + folder.path(),
                                                 shortName, upper};
    FolderList list;
    EXPECT_EQ(list.add(spellings), 1u);
    EXPECT_EQ(undo(L"\\\\?\\" + folder.path()).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), before);
}

// A store that cannot take the record refuses the command, at whichever call it fails,
// and the folder stays as it was.
TEST_F(Undo, StoreThatFailsRefusesTheCommand)
{
    writeUtf16Ini(folder.desktopIni(), L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n");
    const std::wstring source = picture();
    const Snapshot before = snapshot(folder.path());
    for (int calls : {0, 1, 2, 3}) {
        Stop stop {calls};
        StoppingStore failing(records.path(), stop);
        const CommandOutcome refused = run(files, failing, folder.path(), look(source));
        EXPECT_EQ(std::tuple(refused.kind, refused.subject), std::tuple(Kind::RecordFailed, records.path())) << calls;
        EXPECT_EQ(snapshot(folder.path()), before) << calls;
    }
}

// Beyond its cap a folder's files are not recorded and the command says so; beyond the
// journal's bound the oldest entries go.
TEST_F(Undo, JournalStaysWithinItsBounds)
{
    writeFile(folder.desktopIni(), std::string(1000, ';'));
    const CommandOutcome large = apply(folder, L"", 0xFF, {.record = 999});
    EXPECT_EQ(std::tuple(large.kind, large.undoable), std::tuple(Kind::Done, false));
    EXPECT_EQ(undo(folder.path()).kind, UndoKind::Nothing);

    const TempFolder first, second, third, own;
    Win32JournalStore bounded(own.path());
    ASSERT_EQ(run(files, bounded, first.path(), look(L"")).kind, Kind::Done);
    std::vector<JournalStore::Entry> entries;
    ASSERT_TRUE(bounded.list(entries));
    const UndoLimits limits {.store = entries[0].size * 5 / 2}; // room for two entries of its size
    ASSERT_EQ(run(files, bounded, second.path(), look(L""), limits).kind, Kind::Done);
    ASSERT_EQ(run(files, bounded, third.path(), look(L""), limits).kind, Kind::Done);
    const auto undone = [&](const TempFolder& in) {
        return undoLatest(files, bounded, in.path(), name, false).kind;
    };
    EXPECT_EQ(std::tuple(undone(first), undone(second), undone(third)),
              std::tuple(UndoKind::Nothing, UndoKind::Done, UndoKind::Done));
}

// A damaged entry, or one whose record names a file outside its folder, changes nothing.
TEST_F(Undo, DamagedOrForeignEntryIsNeverApplied)
{
    ASSERT_EQ(apply(folder).kind, Kind::Done);
    const Snapshot after = snapshot(folder.path());
    std::vector<JournalStore::Entry> entries;
    ASSERT_TRUE(store.list(entries));
    const std::wstring entry = records.at(entries.back().id + L".qmj");
    const std::string whole = readFile(entry);
    // A byte of the folder's record, the frame after the header.
    const std::size_t headerBody = static_cast<unsigned char>(whole[4]) | static_cast<unsigned char>(whole[5]) << 8;
    std::string damaged = whole;
    damaged[kFrameHeaderSize + headerBody + kFrameHeaderSize + 8] ^= 1;
    writeFile(entry, damaged);
    EXPECT_NE(undo(folder.path()).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), after);

    writeFile(elsewhere.at(L"чужой.txt"), "чужой");
    const std::wstring canonical = tsCanonicalFolder(folder.path());
    const RecordedPath foreign {.path = tsCanonicalFolder(elsewhere.path()) + L"\\чужой.txt", .existed = false};
    writeFile(entry, frameOf(FrameType::Header, encodeHeader({EntryKind::Command, L"", name, {canonical}}))
                         + frameOf(FrameType::Before, encodeBefore({0, {foreign}}))
                         + frameOf(FrameType::Left, encodeLeft({0, FolderEnd::Done, true, {foreign}}))
                         + frameOf(FrameType::Finished, ""));
    const UndoOutcome refused = undo(folder.path(), true);
    EXPECT_EQ(std::tuple(refused.kind, refused.subject), std::tuple(UndoKind::Unusable, records.path()));
    EXPECT_EQ(readFile(elsewhere.at(L"чужой.txt")), "чужой");
}

// The program ended before each of its file calls in turn, in the middle of a command
// that copies a picture over an earlier copy: the next start finds the command, puts the
// folder back as the command found it, and the undo after that puts back the command
// before, byte for byte; nothing of the command stays behind.
TEST_F(Undo, EndedAtAnyMomentTheFolderComesBackWhole)
{
    const std::wstring source = picture();
    writeUtf16Ini(folder.desktopIni(), L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n");
    const Snapshot original = snapshot(folder.path());
    ASSERT_EQ(apply(folder, source, 0x11).kind, Kind::Done);
    writeFile(source, bmpBytes(4, 4, RGB(9, 9, 9), RGB(8, 8, 8))); // the copy to replace the earlier one
    const Snapshot first = snapshot(folder.path());
    const std::wstring canonical = tsCanonicalFolder(folder.path());
    Journal before(store);
    ASSERT_TRUE(before.refresh());
    const std::wstring firstId = before.entries().back().id;
    bool finished = false;
    int moments = 0;
    for (int calls = 0; !finished && calls < 300; ++calls, ++moments) {
        Stop stop {calls};
        {
            StoppingStore stopping(records.path(), stop);
            StoppingFiles stoppingFiles(stop);
            const CommandOutcome outcome = run(stoppingFiles, stopping, folder.path(), look(source, Command::Apply, 0x22));
            finished = outcome.kind == Kind::Done && stop.callsLeft >= 0;
        }
        // The next start: a command it finds unfinished is put back, as after "Да".
        Win32JournalStore later(records.path());
        for (const JournalEntry& cut : findUnfinished(later, files)) {
            ASSERT_TRUE(closeUnfinished(later, files, cut)) << calls;
            EXPECT_EQ(undoEntry(files, later, cut, canonical, name, false).kind, UndoKind::Done) << calls;
        }
        EXPECT_TRUE(findUnfinished(later, files).empty()) << calls;
        // A command that got as far as saying it finished is undone as any other.
        Journal journal(later);
        ASSERT_TRUE(journal.refresh());
        const std::size_t latest = journal.latestFor({canonical});
        ASSERT_LT(latest, journal.entries().size()) << calls;
        if (journal.entries()[latest].id != firstId) {
            EXPECT_EQ(undo(folder.path()).kind, UndoKind::Done) << calls;
        }
        EXPECT_EQ(snapshot(folder.path()), first) << calls;
    }
    EXPECT_TRUE(finished);
    EXPECT_GT(moments, 10);
    EXPECT_EQ(undo(folder.path()).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), original);
}
