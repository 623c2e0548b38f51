#include "common/TestFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/LookCommand.h"
#include "folderview/Win32FolderFiles.h"
#include "undo/FolderUndo.h"
#include "undo/Win32RecordStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
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
                return runLookCommand(f, {in.path(), picture, kTicked, kTicked, 0xFF, kUnticked, 0}, action);
            },
            limits);
    }
    // The store's one record file.
    std::wstring recordFile()
    {
        std::vector<RecordStore::Entry> entries;
        EXPECT_TRUE(store.list(entries));
        return entries.size() == 1 ? records.at(entries[0].name) : L"";
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
             const FolderInfo info {L"%SystemRoot%\\system32\\shell32.dll,3", L"Дача", L"", L"", kTicked};
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
