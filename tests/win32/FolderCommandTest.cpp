// The folders' right-click command in the Wine prefix's real registry, under
// HKEY_CURRENT_USER; the test leaves the prefix's keys as it found them.
#include "app/FolderCommand.h"
#include "common/TestRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

// A command another copy registered is not this exe's; adding replaces it whole, with
// nothing of the old tree left. Removing deletes the two trees and leaves another
// verb, and the keys above ours, as they were.
TEST(FolderCommand, ReplacesAStaleCommandAndRemovesItsTwoTreesAlone)
{
    const RegistryCleanup cleanup;
    const std::wstring exe = L"C:\\Program Files\\Quenmark\\Quenmark.exe";
    const std::wstring otherVerb = L"Software\\Classes\\Directory\\shell\\Other";
    std::wstring failedKey;
    writeRegistryText(otherVerb, nullptr, L"Чужая команда");
    ASSERT_TRUE(addFolderCommand(L"D:\\Старое место\\Quenmark.exe", failedKey));
    writeRegistryText(kFolderCommandKey, L"Extended", L"");
    EXPECT_FALSE(isFolderCommandOf(exe));

    ASSERT_TRUE(addFolderCommand(exe, failedKey));
    for (const RegistryText& value : folderCommandTexts(exe))
        EXPECT_EQ(registryText(value.key, value.name), value.text);
    EXPECT_EQ(registryText(kFolderCommandKey, L"Extended"), std::nullopt);
    EXPECT_TRUE(isFolderCommandOf(exe));

    EXPECT_TRUE(removeFolderCommand(failedKey));
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey));
    EXPECT_FALSE(registryKeyExists(kBackgroundCommandKey));
    EXPECT_TRUE(registryKeyExists(L"Software\\Classes\\Directory\\Background\\shell"));
    EXPECT_EQ(registryText(otherVerb), L"Чужая команда");
    SHDeleteKeyW(HKEY_CURRENT_USER, otherVerb.c_str());
}
