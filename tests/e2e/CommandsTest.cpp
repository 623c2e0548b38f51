// The buttons on real folders: what "Установить!" leaves in the folder and the boxes it
// ends with, and the system dialogs behind the "..." buttons.
#include "Driver.h"

using namespace e2e;

namespace {

TEST(Commands, EnterAppliesWhatTheWindowShowsAndEndsAfterDone)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    writeIni(settings, kView, L"IconArea_Text", L"0x000000FF");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    setText(run.control(txtPicture), L"D:\\Фото\\Небо над озером.jpg");
    send(run.control(chkTextColor), BM_CLICK); // ticked by the file; now off
    send(run.control(chkBackColor), BM_CLICK); // on, white as the window starts
    ASSERT_TRUE(run.pressKey(VK_RETURN));
    expectMessageBox(run.waitForBox(), L"Готово!", true);
    EXPECT_TRUE(run.endsCleanly());

    EXPECT_EQ(iniValue(settings, L"ExtShellFolderViews", kView), kView);
    EXPECT_EQ(iniValue(settings, kView, L"Attributes"), L"1");
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Image"), L"D:\\Фото\\Небо над озером.jpg");
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Text"), std::nullopt);
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_TextBackground"), L"0x00FFFFFF");
    EXPECT_EQ(iniValue(settings, L".ShellClassInfo", L"ConfirmFileOp"), L"0");
    EXPECT_EQ(attributesOf(settings) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

TEST(Commands, FailedApplyIsReportedAndTheWindowStays)
{
    TempFolder base;
    const std::wstring folder = base.at(L"нет такого каталога");
    QuenmarkRun run(L" \"" + folder + L"\"", base.path());
    ASSERT_TRUE(run.started());

    setText(run.control(txtPicture), L"C:\\фон.bmp");
    postClick(run.control(cmdSkin0));
    expectMessageBox(run.waitForBox(), folder + L"\\Desktop.INI\r\n\r\nНе удаётся сохранить файл.", false);
    EXPECT_TRUE(run.boxesClosed());
    Sleep(1000); // a moment for a program that wrongly ends to do so
    EXPECT_TRUE(run.running());
    EXPECT_EQ(windowText(run.control(txtPicture)), L"C:\\фон.bmp");
    EXPECT_FALSE(pathExists(folder));
}

// The colour dialog's red, green and blue boxes, as "r g b".
std::wstring shownColour(HWND dialog)
{
    return windowText(GetDlgItem(dialog, 706)) + L" " + windowText(GetDlgItem(dialog, 707)) + L" "
        + windowText(GetDlgItem(dialog, 708));
}

TEST(Commands, ColourDialogStartsAtTheSwatchAndOkChangesOnlyTheSwatch)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    postClick(run.control(cmdBrowseTextColor));
    HWND dialog = run.waitForBox();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(shownColour(dialog), L"0 0 0");
    setText(GetDlgItem(dialog, 706), L"18");
    setText(GetDlgItem(dialog, 707), L"52");
    setText(GetDlgItem(dialog, 708), L"86");
    postClick(GetDlgItem(dialog, IDOK));
    EXPECT_TRUE(showsColour(run.control(shpTextColor), 0x123456));
    EXPECT_EQ(run.swatch(shpTextColor), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(run.checked(chkTextColor), BST_UNCHECKED);

    ASSERT_TRUE(run.boxesClosed());
    postClick(run.control(cmdBrowseBackColor));
    dialog = run.waitForBox();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(shownColour(dialog), L"255 255 255");
    setText(GetDlgItem(dialog, 706), L"0");
    postClick(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(run.boxesClosed());
    EXPECT_EQ(run.swatch(shpBackColor), RGB(255, 255, 255));
}

TEST(Commands, OpenFileDialogOffersPicturesAndOkTakesTheChosenFile)
{
    TempFolder folder;
    const std::wstring chosen = folder.at(L"Закат над морем.jpg");
    writeFile(chosen, "picture");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    postClick(run.control(cmdBrowse));
    const HWND dialog = run.waitForBox();
    ASSERT_NE(dialog, nullptr);
    const HWND types = GetDlgItem(dialog, 0x470); // cmb1
    wchar_t first[64] = {};
    send(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(send(types, CB_GETCOUNT), 2);
    EXPECT_STREQ(first, L"Картинки");
    setText(run.windowOf(L"Edit", dialog), chosen);
    postClick(GetDlgItem(dialog, IDOK));
    EXPECT_TRUE(waitUntil([&] { return windowText(run.control(txtPicture)) == chosen; }));
}

} // namespace
