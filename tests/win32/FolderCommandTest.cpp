// The folders' right-click command in the Wine prefix's real registry, under
// HKEY_CURRENT_USER; the tests leave the prefix's keys as they found them.
#include "app/FolderCommand.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "resources/Texts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

#include <optional>
#include <string>
#include <utility>

using Kind = FolderCommandSwitch::Kind;

// A command another copy registered is not this exe's; switching replaces it whole
// without asking. A tree holding what the program does not write (a value that hides
// the verb, a subkey, another command) is not this exe's command either, and is
// replaced only when the caller says so. Removing deletes the trees and leaves
// another verb, and the keys above ours, as they were.
TEST(FolderCommand, ReplacesAStaleCommandAndAForeignOneOnlyWhenToldAndRemovesItsTrees)
{
    const RegistryCleanup cleanup;
    const std::wstring exe = L"C:\\Program Files\\Quenmark\\Quenmark.exe";
    const std::wstring otherVerb = L"Software\\Classes\\Directory\\shell\\Other";
    writeRegistryText(otherVerb, nullptr, L"Чужая команда");
    ASSERT_EQ(switchFolderCommand(L"D:\\Старое место\\Quenmark.exe", false).kind, Kind::Added);
    EXPECT_FALSE(isFolderCommandOf(exe));
    ASSERT_EQ(switchFolderCommand(exe, false).kind, Kind::Added);
    for (const RegistryText& value : folderCommandTexts(exe))
        EXPECT_EQ(registryText(value.key, value.name), value.text);
    EXPECT_TRUE(isFolderCommandOf(exe));

    const std::tuple<std::wstring, const wchar_t*, std::wstring> foreign[] = {
        {kBackgroundCommandKey, L"LegacyDisable", L""},
        {kFolderCommandKey, L"ProgrammaticAccessOnly", L""},
        {kFolderCommandKey + L"\\DropTarget", L"Clsid", L"{0}"},
        {kSelectionClassKey + L"\\InprocServer32", nullptr, L"other.dll"},
        {kBackgroundCommandKey + L"\\command", nullptr, L"other.exe \"%V\""},
    };
    for (const auto& [key, name, text] : foreign) {
        SCOPED_TRACE(testing::PrintToString(key));
        writeRegistryText(key, name, text);
        EXPECT_FALSE(isFolderCommandOf(exe));
        EXPECT_EQ(switchFolderCommand(exe, false).kind, Kind::Foreign);
        EXPECT_EQ(registryText(key, name), text);
        EXPECT_EQ(switchFolderCommand(exe, true).kind, Kind::Added);
        EXPECT_TRUE(isFolderCommandOf(exe));
    }

    // What an earlier version wrote, without the drop target, is completed without a question.
    SHDeleteKeyW(HKEY_CURRENT_USER, kSelectionClassKey.c_str());
    SHDeleteKeyW(HKEY_CURRENT_USER, (kFolderCommandKey + L"\\DropTarget").c_str());
    SHDeleteValueW(HKEY_CURRENT_USER, kFolderCommandKey.c_str(), L"MultiSelectModel");
    EXPECT_FALSE(isFolderCommandOf(exe));
    EXPECT_EQ(switchFolderCommand(exe, false).kind, Kind::Added);
    EXPECT_TRUE(isFolderCommandOf(exe));

    EXPECT_EQ(switchFolderCommand(exe, false).kind, Kind::Removed);
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey));
    EXPECT_FALSE(registryKeyExists(kBackgroundCommandKey));
    EXPECT_FALSE(registryKeyExists(kSelectionClassKey));
    EXPECT_TRUE(registryKeyExists(L"Software\\Classes\\Directory\\Background\\shell"));
    EXPECT_EQ(registryText(otherVerb), L"Чужая команда");
    SHDeleteKeyW(HKEY_CURRENT_USER, otherVerb.c_str());
}

// The verb's words are in the language of the copy that wrote them. A command in other
// words is still this exe's: the check says so, and the switch removes it without a
// question; written again, or in place of a stale one in other words, it takes this
// copy's words.
TEST(FolderCommand, KnowsItsCommandInTheWordsOfAnyLanguage)
{
    const RegistryCleanup cleanup;
    const std::wstring exe = L"C:\\Program Files\\Quenmark\\Quenmark.exe";
    const std::wstring otherWords = L"Style with Quenmark…";
    const auto verbs = [] { return std::pair(registryText(kFolderCommandKey), registryText(kBackgroundCommandKey)); };
    const std::optional<std::wstring> current(kFolderCommandVerb);
    const std::pair ours(current, current);
    ASSERT_EQ(switchFolderCommand(exe, false).kind, Kind::Added);
    writeRegistryText(kFolderCommandKey, nullptr, otherWords);
    writeRegistryText(kBackgroundCommandKey, nullptr, otherWords);
    EXPECT_TRUE(isFolderCommandOf(exe));
    EXPECT_EQ(switchFolderCommand(exe, false).kind, Kind::Removed);
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey));
    EXPECT_EQ(switchFolderCommand(exe, false).kind, Kind::Added);
    EXPECT_EQ(verbs(), ours);

    ASSERT_EQ(switchFolderCommand(L"D:\\Старое место\\Quenmark.exe", false).kind, Kind::Added);
    writeRegistryText(kFolderCommandKey, nullptr, otherWords);
    EXPECT_FALSE(isFolderCommandOf(exe));
    EXPECT_EQ(switchFolderCommand(exe, false).kind, Kind::Added);
    EXPECT_EQ(verbs(), ours);
}

// The exe is the same file however its path is written: letter case ignored letter by
// letter, short and long forms alike; a look-alike letter is another file.
TEST(FolderCommand, KnowsItsExeAsWindowsNamesIt)
{
    const RegistryCleanup cleanup;
    const TempFolder folder(L"Длинное имя папки");
    const std::wstring exe = folder.at(L"Quenmark программа.exe");
    writeFile(exe, "MZ");
    ASSERT_EQ(switchFolderCommand(exe, false).kind, Kind::Added);
    std::wstring shortForm(MAX_PATH, L'\0');
    shortForm.resize(GetShortPathNameW(exe.c_str(), shortForm.data(), MAX_PATH));
    std::wstring lower = exe;
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    std::wstring lookAlike = exe;
    lookAlike[lookAlike.find(L'k')] = L'\u212A'; // the Kelvin sign
    EXPECT_NE(shortForm, exe);
    EXPECT_EQ(std::tuple(isFolderCommandOf(shortForm), isFolderCommandOf(lower), isFolderCommandOf(lookAlike)),
              std::tuple(true, true, false));
}

namespace {

void switchOverAndOver()
{
    for (int round = 0; round < 200; ++round) {
        const FolderCommandSwitch done = switchFolderCommand(L"C:\\Quenmark\\Quenmark.exe", false);
        ASSERT_TRUE(done.kind == Kind::Added || done.kind == Kind::Removed)
            << "round " << round << ": error " << done.status.error();
    }
}

} // namespace

// The other copy of the test below: the same program started again with this test alone.
TEST(FolderCommand, DISABLED_SwitchesOverAndOver)
{
    switchOverAndOver();
}

// Two copies switching at once take turns: neither meets a half-written tree or reports
// a refusal, and after an even number of switches no tree is left.
TEST(FolderCommand, TwoCopiesSwitchingAtOnceTakeTurns)
{
    const RegistryCleanup cleanup;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self)
        + L"\" --gtest_filter=FolderCommand.DISABLED_SwitchesOverAndOver --gtest_also_run_disabled_tests";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION other = {};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &other));
    switchOverAndOver();
    DWORD exitCode = 1;
    EXPECT_EQ(WaitForSingleObject(other.hProcess, 60000), WAIT_OBJECT_0);
    GetExitCodeProcess(other.hProcess, &exitCode);
    CloseHandle(other.hThread);
    CloseHandle(other.hProcess);
    EXPECT_EQ(exitCode, 0u) << "the other copy's rounds";
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey));
    EXPECT_FALSE(registryKeyExists(kBackgroundCommandKey));
    EXPECT_FALSE(registryKeyExists(kSelectionClassKey));
}
