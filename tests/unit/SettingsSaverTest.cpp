#include "folderview/SettingsSaver.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const std::wstring kFolder = L"C:\\Photos";

} // namespace

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
