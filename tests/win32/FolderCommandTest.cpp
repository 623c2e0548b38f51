// The folders' right-click command in the Wine prefix's real registry, under
// HKEY_CURRENT_USER; each test leaves the prefix's keys as it found them.
#include "app/FolderCommand.h"
#include "common/TestRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

namespace {

const std::wstring kExe = L"C:\\Program Files\\Quenmark\\Quenmark.exe";
const std::wstring kOtherVerb = L"Software\\Classes\\Directory\\shell\\Other";

class FolderCommandTest : public ::testing::Test {
protected:
    ~FolderCommandTest() override { SHDeleteKeyW(HKEY_CURRENT_USER, kOtherVerb.c_str()); }
    RegistryCleanup cleanup;
    std::wstring failedKey;
};

} // namespace

// Adding writes every value; removing deletes the two trees and leaves another verb,
// and the keys above ours, as they were.
TEST_F(FolderCommandTest, AddsAndRemovesItsTwoTreesAlone)
{
    writeRegistryText(kOtherVerb, nullptr, L"Чужая команда");
    EXPECT_FALSE(isFolderCommandOf(kExe));
    ASSERT_TRUE(addFolderCommand(kExe, failedKey));
    for (const RegistryText& value : folderCommandTexts(kExe))
        EXPECT_EQ(registryText(value.key, value.name), value.text);
    EXPECT_TRUE(isFolderCommandOf(kExe));

    EXPECT_TRUE(removeFolderCommand(failedKey));
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey));
    EXPECT_FALSE(registryKeyExists(kBackgroundCommandKey));
    EXPECT_TRUE(registryKeyExists(L"Software\\Classes\\Directory\\Background\\shell"));
    EXPECT_EQ(registryText(kOtherVerb), L"Чужая команда");
    EXPECT_FALSE(isFolderCommandOf(kExe));
}

// A command another copy registered is not this exe's; adding replaces it whole, with
// nothing of the old tree left.
TEST_F(FolderCommandTest, PointsAStaleCommandHere)
{
    ASSERT_TRUE(addFolderCommand(L"D:\\Старое место\\Quenmark.exe", failedKey));
    writeRegistryText(kFolderCommandKey, L"Extended", L"");
    EXPECT_FALSE(isFolderCommandOf(kExe));

    ASSERT_TRUE(addFolderCommand(kExe, failedKey));
    EXPECT_TRUE(isFolderCommandOf(kExe));
    EXPECT_EQ(registryText(kFolderCommandKey, L"Extended"), std::nullopt);
}

// A key that refuses to be written leaves nothing of the command: the tree written
// before it is deleted again, and the refusing key is named.
TEST_F(FolderCommandTest, ALockedKeyLeavesNothingHalfWritten)
{
    lockRegistryKey(kBackgroundCommandKey);
    EXPECT_EQ(addFolderCommand(kExe, failedKey).error(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(failedKey, kBackgroundCommandKey);
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey));
    EXPECT_FALSE(isFolderCommandOf(kExe));
}
