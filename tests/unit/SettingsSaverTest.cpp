#include "folderview/SettingsSaver.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const std::wstring kFolder = L"C:\\Photos";
const std::wstring kIni = kFolder + L"\\Desktop.INI";
const std::wstring kView = kViewId;

} // namespace

// Every write is checked; the first that fails ends the save with the file still
// writable, so that nothing claims a look the file does not hold.
TEST(SaveFolderLook, StopsAtTheFirstFailingWrite)
{
    const std::pair<bool, std::wstring> cases[] = {
        // remove, and the fake's call that fails (empty: none)
        {false, L""},
        {false, L"write [ExtShellFolderViews] " + kView + L"=" + kView},
        {false, L"write [" + kView + L"] IconArea_Image=sea.jpg"},
        {false, L"write [.ShellClassInfo] ConfirmFileOp=0"},
        {true, L""},
        {true, L"delete [ExtShellFolderViews] " + kView},
        {true, L"delete [" + kView + L"]"},
    };
    for (const auto& [remove, failing] : cases) {
        SCOPED_TRACE(testing::PrintToString(failing));
        FakeFolderFiles files;
        files.attributes = {{kIni, kAttrReadOnly | kAttrHidden | kAttrSystem}, {kFolder, kAttrDirectory}};
        files.errors[failing] = ERROR_DISK_FULL;
        std::wstring path;

        const SaveResult result = saveFolderLook(
            files, {kFolder, L"typed.jpg", kUnticked, kTicked, 0xFF8000, kTicked, kBlack}, L"sea.jpg", remove, path);
        EXPECT_EQ(path, kIni);
        EXPECT_EQ(result, failing.empty() ? SaveResult::Saved : SaveResult::NotWritten);
        EXPECT_EQ(files.attributes[kIni], failing.empty() ? kAttrHidden | kAttrSystem : kAttrNormal);
        if (!failing.empty()) {
            EXPECT_EQ(files.log.back(), failing) << "nothing is written after the failure";
        }
    }
}

// Apply makes the folder read-only, which tells the shell to read its Desktop.INI, and
// leaves a drive root alone. When that cannot be done the save says so.
TEST(SaveFolderLook, FolderAttributes)
{
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
        {kFolder, 0x10, FakeFolderFiles::attributesLine(kFolder, kAttrReadOnly), 0x10, SaveResult::FolderNotMarked},
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
        std::wstring path;

        EXPECT_EQ(saveFolderLook(files, {c.folder, L"", kUnticked, kTicked, 0, kTicked, 0}, L"", false, path),
                  c.result);
        EXPECT_EQ(files.attributes.count(bare) ? std::optional(files.attributes[bare]) : std::nullopt, c.after);
        EXPECT_EQ(files.attributes[bare + L"\\Desktop.INI"], kAttrHidden | kAttrSystem) << "written either way";
    }
}
