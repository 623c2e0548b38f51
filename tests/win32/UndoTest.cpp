#include "common/TestFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/LookCommand.h"
#include "folderview/Win32FolderFiles.h"
#include "undo/FolderUndo.h"
#include "undo/Win32RecordStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
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

class Undo : public testing::Test {
protected:
    CommandOutcome run(const TempFolder& in, const std::function<CommandOutcome(FolderFiles&)>& command,
                       const UndoLimits& limits = {})
    {
        return runRecorded(files, store, in.path(), {L"Установить!", L"Quenmark", {2026, 12, 7, 16, 40}}, command,
                           limits);
    }
    CommandOutcome applyLook(const TempFolder& in, const std::wstring& picture, Command action = Command::Apply,
                             const UndoLimits& limits = {})
    {
        return run(
            in,
            [&](FolderFiles& f) {
                return runLookCommand(f,
                                      {.folder = in.path(),
                                       .picture = picture,
                                       .copyPicture = kTicked,
                                       .textColorOn = kTicked,
                                       .textColor = 0xFF},
                                      action);
            },
            limits);
    }
    // The file of the store's latest record.
    std::wstring latestRecord()
    {
        std::vector<RecordStore::Entry> entries;
        EXPECT_TRUE(store.list(entries));
        const auto latest = std::max_element(entries.begin(), entries.end(),
                                             [](const auto& a, const auto& b) { return a.written < b.written; });
        return latest == entries.end() ? L"" : records.at(latest->name);
    }

    TempFolder folder {L" Фото с дачи"}, elsewhere, records {L" записи"};
    Win32FolderFiles files;
    Win32RecordStore store {records.path()};
};

} // namespace

// Each command, undone, leaves every byte and attribute of the folder as before, and
// a second undo finds nothing.
TEST_F(Undo, EachCommandIsUndoneExactly)
{
    const std::wstring picture = elsewhere.at(L"лес.bmp");
    writeFile(picture, bmpBytes(4, 4, RGB(1, 2, 3), RGB(4, 5, 6)));
    using Prepare = std::function<void(const TempFolder&)>;
    using Run = std::function<CommandOutcome(const TempFolder&)>;
    const std::vector<std::pair<Prepare, Run>> cases = {
        // Apply with a copy over another tool's UTF-16 file.
        {[&](const TempFolder& in) { writeUtf16Ini(in.desktopIni(), L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n"); },
         [&](const TempFolder& in) { return applyLook(in, picture); }},
        // Remove of our keys, which also takes the copy.
        {[&](const TempFolder& in) {
             writeFile(in.at(L"лес.bmp"), "copy");
             SetFileAttributesW(in.at(L"лес.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
             writeFile(in.desktopIni(),
                       "[" + ansiBytes(kView)
                           + "]\r\nIconArea_Image=лес.bmp\r\n[.ShellClassInfo]\r\nConfirmFileOp=0\r\n");
         },
         [&](const TempFolder& in) { return applyLook(in, L"", Command::Remove); }},
        // Apply that makes the settings file.
        {[](const TempFolder&) {}, [&](const TempFolder& in) { return applyLook(in, L""); }},
        // The dialog's Apply, whose icon replaces an earlier copy.
        {[&](const TempFolder& in) {
             writeFile(in.at(L"shell32.ico"), "earlier copy");
             SetFileAttributesW(in.at(L"shell32.ico").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
         },
         [&](const TempFolder& in) {
             const FolderInfo info {
                 .icon = L"%SystemRoot%\\system32\\shell32.dll,3", .infoTip = L"Дача", .copyIcon = kTicked};
             return run(in,
                        [&](FolderFiles& f) { return runFolderInfoCommand(f, in.path(), info, {}, Command::Apply); });
         }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TempFolder in(L" дача " + std::to_wstring(i));
        cases[i].first(in);
        const Snapshot before = snapshot(in.path());
        ASSERT_EQ(cases[i].second(in).kind, Kind::Done) << i;
        ASSERT_NE(snapshot(in.path()), before) << i;
        EXPECT_EQ(undoFolder(files, store, in.path(), false).kind, UndoKind::Done) << i;
        EXPECT_EQ(snapshot(in.path()), before) << i;
        EXPECT_EQ(undoFolder(files, store, in.path(), false).kind, UndoKind::Nothing) << i;
        SetFileAttributesW(in.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A file changed since the command is named and kept until the undo is confirmed.
TEST_F(Undo, ChangedFileIsNamedAndKeptUntilConfirmed)
{
    ASSERT_EQ(applyLook(folder, L"").kind, Kind::Done);
    const std::string edited = readFile(folder.desktopIni()) + "[Другое]\r\nЗначение=1\r\n";
    SetFileAttributesW(folder.desktopIni().c_str(), FILE_ATTRIBUTE_NORMAL);
    writeFile(folder.desktopIni(), edited);
    const UndoOutcome asked = undoFolder(files, store, folder.path(), false);
    EXPECT_EQ(std::tuple(asked.kind, asked.subject), std::tuple(UndoKind::Changed, folder.desktopIni()));
    EXPECT_EQ(readFile(folder.desktopIni()), edited);
    EXPECT_EQ(undoFolder(files, store, folder.path(), true).kind, UndoKind::Done);
    EXPECT_EQ(GetFileAttributesW(folder.desktopIni().c_str()), INVALID_FILE_ATTRIBUTES);
}

// A refused command keeps the folder's earlier record; one that never ended (an
// exception, as a crash would) leaves the state before it, for undo to put back.
TEST_F(Undo, RefusedOrUnfinishedCommandLeavesTheRightRecord)
{
    ASSERT_EQ(applyLook(folder, L"").kind, Kind::Done);
    const Snapshot applied = snapshot(folder.path());
    EXPECT_EQ(run(folder, [](FolderFiles&) { return CommandOutcome {Kind::SaveFailed}; }).kind, Kind::SaveFailed);
    EXPECT_THROW(run(folder,
                     [&](FolderFiles& f) {
                         (void)f.setAttributes(folder.desktopIni(), FILE_ATTRIBUTE_NORMAL);
                         (void)f.writeFile(folder.desktopIni(), "half");
                         throw std::runtime_error("cut short");
                         return CommandOutcome {};
                     }),
                 std::runtime_error);
    EXPECT_EQ(undoFolder(files, store, folder.path(), true).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), applied);
    ASSERT_EQ(applyLook(folder, L"", Command::Remove).kind, Kind::Done);
    EXPECT_EQ(run(folder, [](FolderFiles&) { return CommandOutcome {Kind::SaveFailed}; }).kind, Kind::SaveFailed);
    EXPECT_EQ(undoFolder(files, store, folder.path(), false).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), applied);
}

// Among many commands on one folder, each refused one in between, the latest is the one
// undone, and the folder's record file keeps only a few of them.
TEST_F(Undo, LatestOfManyCommandsIsUndoneAndItsFileStaysSmall)
{
    ASSERT_EQ(applyLook(folder, L"").kind, Kind::Done);
    Snapshot before;
    std::size_t afterOne = 0;
    for (ColorValue color = 1; color <= 12; ++color) {
        before = snapshot(folder.path());
        ASSERT_EQ(run(folder,
                      [&](FolderFiles& f) {
                          return runLookCommand(
                              f, {.folder = folder.path(), .textColorOn = kTicked, .textColor = color}, Command::Apply);
                      })
                      .kind,
                  Kind::Done);
        EXPECT_EQ(run(folder, [](FolderFiles&) { return CommandOutcome {Kind::SaveFailed}; }).kind, Kind::SaveFailed);
        afterOne = afterOne ? afterOne : readFile(latestRecord()).size();
    }
    EXPECT_LE(readFile(latestRecord()).size(), 4 * afterOne);
    EXPECT_EQ(undoFolder(files, store, folder.path(), false).kind, UndoKind::Done);
    EXPECT_EQ(snapshot(folder.path()), before);
}

// A store that takes the first part of the record and then fails: what the command had
// changed goes back.
class StoreFailingAfter : public Win32RecordStore {
public:
    StoreFailingAfter(const std::wstring& root, int writes) : Win32RecordStore(root), writes_(writes) {}
    TsStatus stage(const std::wstring& name, const std::string& bytes) override
    {
        return writes_-- > 0 ? Win32RecordStore::stage(name, bytes) : TsStatus::failure(ERROR_WRITE_FAULT);
    }

private:
    int writes_;
};

// A record that cannot be written refuses the command, and the folder stays as it was.
TEST_F(Undo, StoreThatFailsRefusesTheCommand)
{
    writeUtf16Ini(folder.desktopIni(), L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n");
    writeFile(elsewhere.at(L"лес.bmp"), bmpBytes(2, 2, RGB(1, 2, 3), RGB(4, 5, 6)));
    writeFile(elsewhere.at(L"файл"), "не папка");
    const Snapshot before = snapshot(folder.path());
    StoreFailingAfter unwritable(elsewhere.at(L"файл\\записи"), 1), partly(records.path(), 1);
    for (RecordStore* failing : {static_cast<RecordStore*>(&unwritable), static_cast<RecordStore*>(&partly)}) {
        const CommandOutcome refused = runRecorded(files, *failing, folder.path(), {}, [&](FolderFiles& f) {
            return runLookCommand(
                f, {.folder = folder.path(), .picture = elsewhere.at(L"лес.bmp"), .copyPicture = kTicked},
                Command::Apply);
        });
        EXPECT_EQ(std::tuple(refused.kind, refused.subject), std::tuple(Kind::RecordFailed, failing->where()));
        EXPECT_EQ(snapshot(folder.path()), before);
    }
}

// Beyond its cap a folder's files are not recorded and the command says so; beyond the
// store's bound the oldest records go.
TEST_F(Undo, RecordsStayWithinTheirBounds)
{
    writeFile(folder.desktopIni(), std::string(1000, ';'));
    const CommandOutcome large = applyLook(folder, L"", Command::Apply, {.record = 999});
    EXPECT_EQ(std::tuple(large.kind, large.undoable), std::tuple(Kind::Done, false));
    EXPECT_EQ(undoFolder(files, store, folder.path(), false).kind, UndoKind::Nothing);

    const TempFolder first, second, third;
    ASSERT_EQ(applyLook(first, L"").kind, Kind::Done);
    const UndoLimits limits {.store = readFile(latestRecord()).size() * 5 / 2};
    ASSERT_EQ(applyLook(second, L"", Command::Apply, limits).kind, Kind::Done);
    ASSERT_EQ(applyLook(third, L"", Command::Apply, limits).kind, Kind::Done);
    FolderRecord record;
    EXPECT_EQ(std::tuple(findRecord(files, store, first.path(), record),
                         findRecord(files, store, second.path(), record),
                         findRecord(files, store, third.path(), record)),
              std::tuple(RecordFound::None, RecordFound::Found, RecordFound::Found));
}

// A damaged record, or one of another folder under this folder's name, changes nothing.
TEST_F(Undo, DamagedOrForeignRecordIsNeverApplied)
{
    const TempFolder other;
    ASSERT_EQ(applyLook(other, L"").kind, Kind::Done);
    const std::string foreign = readFile(latestRecord());
    ASSERT_EQ(applyLook(folder, L"").kind, Kind::Done);
    const std::wstring record = latestRecord();
    std::string damaged = readFile(record);
    damaged[damaged.size() / 2] ^= 1;
    const Snapshot after = snapshot(folder.path());
    for (const std::string& bytes : {damaged, foreign, std::string("MZ")}) {
        writeFile(record, bytes);
        const UndoOutcome refused = undoFolder(files, store, folder.path(), true);
        EXPECT_EQ(std::tuple(refused.kind, refused.subject), std::tuple(UndoKind::Unusable, records.path()));
        EXPECT_EQ(snapshot(folder.path()), after);
    }
}
