#include "folderview/SettingsSaver.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const std::wstring kFolder = L"C:\\Photos";
const FolderLookState kBare {kFolder, L"", kUnticked, kUnticked, kBlack, kUnticked, kWhite};
const std::wstring kIni = kFolder + L"\\Desktop.INI";
const std::wstring kView = kViewId;

std::wstring view(const std::wstring& change, const std::wstring& entry = L"")
{
    return change + L" [" + kView + L"]" + entry;
}

} // namespace

// Every write is checked; the first that fails ends the save with the file still
// writable, so that nothing claims a look the file does not hold.
TEST(SaveFolderLook, StopsAtTheFirstFailingWrite)
{
    const struct {
        bool remove;
        std::wstring failing; // the fake's call that fails; empty: none
    } cases[] = {
        {false, L""},
        {false, L"write [ExtShellFolderViews] " + kView + L"=" + kView},
        {false, view(L"write", L" IconArea_Image=sea.jpg")},
        {false, L"write [.ShellClassInfo] ConfirmFileOp=0"},
        {true, L""},
        {true, L"delete [ExtShellFolderViews] " + kView},
        {true, view(L"delete")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.failing));
        FakeFolderFiles files;
        files.attributes[kIni] = kAttrReadOnly | kAttrHidden | kAttrSystem;
        files.attributes[kFolder] = kAttrDirectory;
        files.errors[c.failing] = ERROR_DISK_FULL;
        const FolderLookState state {kFolder, L"typed.jpg", kUnticked, kTicked, 0x00FF8000, kTicked, kBlack};
        std::wstring path;

        const SaveResult result = saveFolderLook(files, state, L"sea.jpg", c.remove, path);
        EXPECT_EQ(path, kIni);
        if (c.failing.empty()) {
            EXPECT_EQ(result, SaveResult::Saved);
            EXPECT_EQ(files.attributes[kIni], kAttrHidden | kAttrSystem);
        } else {
            EXPECT_EQ(result, SaveResult::NotWritten);
            EXPECT_EQ(files.log.back(), c.failing) << "nothing is written after the failure";
            EXPECT_EQ(files.attributes[kIni], kAttrNormal);
        }
    }
}

// Apply makes the folder read-only, which tells the shell to read its Desktop.INI, and
// leaves a drive root alone. When that cannot be done the save says so.
TEST(SaveFolderLook, FolderAttributes)
{
    const std::wstring setFails = FakeFolderFiles::attributesLine(kFolder, kAttrReadOnly);
    const struct {
        std::wstring folder;
        std::optional<std::uint32_t> before; // none: no such entry
        std::wstring failing;
        std::optional<std::uint32_t> after;
        SaveResult result;
    } cases[] = {
        {L"C:\\Photos\\", 0x10, L"", 0x1, SaveResult::Saved},
        {kFolder, 0x2037, L"", 0x2027, SaveResult::Saved},
        {kFolder, 0xFFFF0010, L"", 0xFFFF0001, SaveResult::Saved},
        {kFolder, std::nullopt, L"", std::nullopt, SaveResult::FolderNotMarked},
        {kFolder, 0x10, L"get " + kFolder, 0x10, SaveResult::FolderNotMarked},
        {kFolder, 0x10, setFails, 0x10, SaveResult::FolderNotMarked},
        {L"C:\\", 0x16, L"", 0x16, SaveResult::Saved},
        {L"C:", 0x16, L"", 0x16, SaveResult::Saved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.folder + L" " + c.failing));
        FakeFolderFiles files;
        const std::wstring bare = c.folder.substr(0, c.folder.find_last_not_of(L'\\') + 1);
        if (c.before)
            files.attributes[bare] = *c.before;
        files.errors[c.failing] = ERROR_ACCESS_DENIED;
        const FolderLookState state {c.folder, L"", kUnticked, kTicked, 0, kTicked, 0};
        std::wstring path;

        EXPECT_EQ(saveFolderLook(files, state, L"", false, path), c.result);
        EXPECT_EQ(path, bare + L"\\Desktop.INI");
        EXPECT_EQ(files.attributes.count(bare) ? std::optional(files.attributes[bare]) : std::nullopt, c.after);
        EXPECT_EQ(files.attributes[path], kAttrHidden | kAttrSystem) << "the settings are written either way";
    }
}

// What cannot be told to be a file or its absence is left exactly as it is: a folder
// named Desktop.INI would otherwise become hidden and system.
TEST(SaveFolderLook, AnUnknownPathIsNotTouchedAndAMissingFileNeedsNoRemove)
{
    for (const bool remove : {false, true}) {
        FakeFolderFiles files;
        files.attributes[kIni] = kAttrDirectory;
        files.errors[L"exist " + kIni] = ERROR_ACCESS_DENIED;
        std::wstring path;
        EXPECT_EQ(saveFolderLook(files, kBare, L"", remove, path), SaveResult::NotWritten);
        EXPECT_TRUE(files.log.empty());
    }
    FakeFolderFiles files;
    std::wstring path;
    EXPECT_EQ(saveFolderLook(files, kBare, L"", true, path), SaveResult::Saved);
    EXPECT_TRUE(files.log.empty());
}
