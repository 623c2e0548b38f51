#include "folderview/IconPreview.h"

#include <gtest/gtest.h>

// A settings file's icon on another computer waits for the user; nothing else does. A
// relative path is in the folder, which may itself be on a server.
TEST(IconPreview, OnlyAnIconFromTheFileOnAnotherComputerWaits)
{
    const std::tuple<std::wstring, std::wstring, bool, bool> cases[] = {
        // path, the folder, on a remote drive, read without asking
        {L"C:\\Icons\\sea.ico", L"D:\\Фото", false, true},
        {L"sea.ico", L"D:\\Фото", false, true},
        {L"sea.ico", L"\\\\server\\Фото", false, false},
        {L"\\\\?\\C:\\Icons\\sea.ico", L"D:\\Фото", false, true},
        {L"\\\\.\\C:\\sea.ico", L"D:\\Фото", false, true},
        {L"\\\\server\\share\\sea.ico", L"D:\\Фото", false, false},
        {L"//server/share/sea.ico", L"D:\\Фото", false, false},
        {L"\\\\?\\unc\\server\\share\\sea.ico", L"D:\\Фото", false, false},
        {L"Z:\\sea.ico", L"D:\\Фото", true, false},
    };
    for (const auto& [path, folder, remoteDrive, withoutAsking] : cases) {
        SCOPED_TRACE(testing::PrintToString(path));
        const std::wstring file = iconFileInFolder(path, folder);
        EXPECT_EQ(readsWithoutAsking(file, IconOrigin::SettingsFile, remoteDrive), withoutAsking);
        EXPECT_TRUE(readsWithoutAsking(file, IconOrigin::User, remoteDrive));
    }
}
