#include "folderview/AnotherComputer.h"
#include "folderview/SettingsTable.h"

#include "StandInDrives.h"

#include <gtest/gtest.h>

// A file the settings file names on another computer (a server path, or a drive the
// system reports as remote) waits for the user, however it is spelled; nothing else
// does. A relative path is in the folder, which may itself be on a server or a mapped
// drive; a rooted one on the current folder's drive.
TEST(AnotherComputer, OnlyAFileFromTheSettingsOnAnotherComputerWaits)
{
    const std::tuple<std::wstring, std::wstring, bool> cases[] = {
        // path, the folder, read without asking
        {L"C:\\Icons\\sea.ico", L"D:\\Фото", true},
        {L"sea.ico", L"D:\\Фото", true},
        {L"sea.ico", L"\\\\server\\Фото", false},
        {L"sea.ico", L"Y:\\Фото", false},
        {L"\\\\?\\C:\\Icons\\sea.ico", L"D:\\Фото", true},
        {L"\\\\.\\C:\\sea.ico", L"D:\\Фото", true},
        {L"\\\\server\\share\\sea.ico", L"D:\\Фото", false},
        {L"//server/share/sea.ico", L"D:\\Фото", false},
        {L"\\\\?\\unc\\server\\share\\sea.ico", L"D:\\Фото", false},
        {L"Z:\\sea.ico", L"D:\\Фото", false},
        {L"\\\\?\\Z:\\sea.ico", L"D:\\Фото", false},
        {L"\\??\\C:\\sea.ico", L"D:\\Фото", true},
        {L"\\??\\Y:\\x.jpg", L"D:\\Фото", false},
        {L"\\\\.\\y:\\x.jpg", L"D:\\Фото", false},
        {L"//?/Y:/x.jpg", L"D:\\Фото", false},
        {L"\\??\\UNC\\server\\share\\x.jpg", L"D:\\Фото", false},
        {L"/?\?/unc/server/share/x.jpg", L"D:\\Фото", false},
        {L"\\\\.\\UNC\\server\\share\\x.jpg", L"D:\\Фото", false},
        {L"\\\\?\\UNC/server/share/x.jpg", L"D:\\Фото", false},
        {L"\\\\?\\\\??\\Z:\\x.jpg", L"D:\\Фото", false},
        {L"\\\\?\\GLOBALROOT\\Device\\Mup\\server\\share\\x.jpg", L"D:\\Фото", false},
        {L"\\x.jpg", L"D:\\Фото", false},
    };
    for (const auto& [path, folder, withoutAsking] : cases) {
        SCOPED_TRACE(testing::PrintToString(path));
        const std::wstring file = settingFile(SettingKind::Text, path, folder);
        EXPECT_EQ(readsWithoutAsking(file, TextOrigin::SettingsFile, standInDriveType), withoutAsking);
        EXPECT_TRUE(readsWithoutAsking(file, TextOrigin::User, standInDriveType));
    }
}
