#include "folderview/IconPreview.h"

#include <gtest/gtest.h>

// A settings file's icon on another computer waits for the user; nothing else does.
TEST(IconPreview, OnlyAnIconFromTheFileOnAnotherComputerWaits)
{
    const std::tuple<std::wstring, bool, bool> cases[] = {
        // file (in the folder D:\Фото), on a remote drive, read without asking
        {L"C:\\Icons\\sea.ico", false, true},
        {L"sea.ico", false, true},
        {L"\\\\?\\C:\\Icons\\sea.ico", false, true},
        {L"\\\\.\\C:\\sea.ico", false, true},
        {L"\\\\server\\share\\sea.ico", false, false},
        {L"//server/share/sea.ico", false, false},
        {L"\\\\?\\unc\\server\\share\\sea.ico", false, false},
        {L"Z:\\sea.ico", true, false},
    };
    for (const auto& [path, remoteDrive, withoutAsking] : cases) {
        SCOPED_TRACE(testing::PrintToString(path));
        const std::wstring file = iconFileInFolder(path, L"D:\\Фото");
        EXPECT_EQ(readsWithoutAsking(file, IconOrigin::SettingsFile, remoteDrive), withoutAsking);
        EXPECT_TRUE(readsWithoutAsking(file, IconOrigin::User, remoteDrive));
    }
    // A relative path is in the folder, which may itself be on a server.
    EXPECT_FALSE(
        readsWithoutAsking(iconFileInFolder(L"sea.ico", L"\\\\server\\Фото"), IconOrigin::SettingsFile, false));
}
