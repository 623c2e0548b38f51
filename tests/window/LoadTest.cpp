#include "tests/window/WindowHarness.h"

#include <cwchar>

namespace {

std::wstring currentFolder()
{
    wchar_t current[MAX_PATH];
    return std::wstring(current, GetCurrentDirectoryW(MAX_PATH, current));
}

using MainWindowLoad = MainWindowTest;

TEST_F(MainWindowLoad, ArgumentTrimmedOfBlanksAndQuotesNamesTheFolderWhoseSettingsAreShown)
{
    // Cyrillic names and settings travel through the Russian 8-bit code page.
    ASSERT_EQ(GetACP(), 1251u);
    TempFolder folder(L" Мои фото");
    writeLook(folder,
              L"IconArea_Image=D:\\Обои\\море.jpg\r\nIconArea_Text=0x000000FF\r\n"
              L"IconArea_TextBackground=0x8000000F\r\n");

    open(L" \t\"" + folder.path() + L"\"  \r\n");

    EXPECT_EQ(text(txtWorkFolder), folder.path());
    EXPECT_EQ(text(txtPicture), L"D:\\Обои\\море.jpg");
    EXPECT_EQ(check(chkTextColor), BST_CHECKED);
    EXPECT_EQ(swatch(shpTextColor), 0x0000FF);
    // A system colour number is no colour of its own: the box is off and the swatch white.
    EXPECT_EQ(check(chkBackColor), BST_UNCHECKED);
    EXPECT_EQ(swatch(shpBackColor), 0xFFFFFF);
    EXPECT_EQ(check(chkCopyPicture), BST_UNCHECKED);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindowLoad, OnlyTheOuterPairOfQuotesGoes)
{
    TempFolder folder;
    open(L"\"\"" + folder.path() + L"\"\"");
    EXPECT_EQ(text(txtWorkFolder), L"\"" + folder.path() + L"\"");
}

TEST_F(MainWindowLoad, NoArgumentOpensTheCurrentFolder)
{
    TempFolder folder(L" текущий");
    writeLook(folder, L"IconArea_Image=лес.png\r\nIconArea_TextBackground=0x00336699\r\n");
    const CurrentDirectory current(folder.path());

    for (const wchar_t* arguments : {L"", L"  \t \r\n"}) {
        SCOPED_TRACE(testing::Message() << "argument length " << std::wcslen(arguments));
        open(arguments);
        EXPECT_EQ(text(txtWorkFolder), currentFolder());
        EXPECT_EQ(text(txtPicture), L"лес.png");
        EXPECT_EQ(check(chkTextColor), BST_UNCHECKED);
        EXPECT_EQ(swatch(shpTextColor), 0);
        EXPECT_EQ(check(chkBackColor), BST_CHECKED);
        EXPECT_EQ(swatch(shpBackColor), 0x336699);
    }
}

} // namespace
