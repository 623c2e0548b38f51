// "Установить!" and "Удалить" on real folders, and what they leave in the folder's
// settings file.
#include "Driver.h"
#include "resources/MainLayout.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr wchar_t kViews[] = L"ExtShellFolderViews";
constexpr wchar_t kClassInfo[] = L".ShellClassInfo";
// Another folder view extension's entry, which Remove must leave alone.
constexpr wchar_t kOtherViewId[] = L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}";
constexpr DWORD kProtection = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The command's success box; its OK ends the program.
void expectDoneThenEnd(QuenmarkRun& run)
{
    const HWND done = run.waitForBox(L"Quenmark");
    ASSERT_NE(done, nullptr) << "no box";
    const Box box = readBox(done);
    EXPECT_EQ(box.text, L"Готово!");
    EXPECT_TRUE(showsIcon(box, IconTint::Blue)) << "information icon";
    ASSERT_NE(box.okButton(), nullptr);
    postClick(box.okButton());
    EXPECT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
}

// A stop box whose text starts with start; OK closes it and leaves the window open.
void expectStopBoxThenWindowStays(QuenmarkRun& run, const std::wstring& start)
{
    const HWND stop = run.waitForBox(L"Quenmark");
    ASSERT_NE(stop, nullptr) << "no box";
    const Box box = readBox(stop);
    EXPECT_EQ(box.text.substr(0, start.size()), start) << box.text;
    EXPECT_TRUE(showsIcon(box, IconTint::Red)) << "stop icon";
    ASSERT_NE(box.okButton(), nullptr);
    postClick(box.okButton());
    EXPECT_TRUE(run.waitForBoxClosed(stop));
    // A moment for a program that wrongly ends to do so.
    EXPECT_FALSE(run.waitForExit(1s)) << "the program ended";
    EXPECT_TRUE(IsWindowVisible(run.main()));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(run.main()) != FALSE; }));
}

TEST(Apply, ButtonSavesWhatTheWindowShowsAndEnds)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    writeIni(settings, kView, L"IconArea_Image", L"старая.bmp");
    writeIni(settings, kView, L"IconArea_Text", L"0x000000FF");
    writeIni(settings, kClassInfo, L"IconResource", L"C:\\icons.dll,3");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    const std::wstring picture = L"D:\\Фото\\Небо над озером.jpg";
    setText(run.control(txtPicture), picture);
    click(run.control(chkTextColor)); // ticked by the file; now off
    click(run.control(chkBackColor));
    setSwatchColor(run.control(shpBackColor), RGB(0x99, 0x66, 0x33));
    postClick(run.control(cmdSkin0));
    expectDoneThenEnd(run);

    EXPECT_EQ(iniValue(settings, kViews, kView), kView);
    EXPECT_EQ(iniValue(settings, kView, L"Attributes"), L"1");
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Image"), picture);
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Text"), std::nullopt);
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_TextBackground"), L"0x00336699");
    EXPECT_EQ(iniValue(settings, kClassInfo, L"ConfirmFileOp"), L"0");
    EXPECT_EQ(iniValue(settings, kClassInfo, L"IconResource"), L"C:\\icons.dll,3");
    EXPECT_EQ(attributesOf(settings) & kProtection, kHiddenSystem);
}

TEST(Apply, EnterPressesApply)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    click(run.control(chkTextColor)); // black, as the window starts
    ASSERT_TRUE(run.pressKey(VK_RETURN));
    expectDoneThenEnd(run);

    EXPECT_EQ(iniValue(settings, kViews, kView), kView);
    EXPECT_EQ(iniValue(settings, kView, L"Attributes"), L"1");
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Image"), std::nullopt);
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Text"), L"0x00000000");
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_TextBackground"), std::nullopt);
    EXPECT_EQ(iniValue(settings, kClassInfo, L"ConfirmFileOp"), L"0");
    EXPECT_EQ(attributesOf(settings) & kProtection, kHiddenSystem);
}

TEST(Apply, CopiesThePictureOverAnEarlierHiddenCopy)
{
    TempFolder pictures;
    TempFolder folder;
    const std::wstring source = pictures.at(L"Sunset by the sea.bmp");
    const std::wstring copy = folder.at(L"Sunset by the sea.bmp");
    writeFile(source, "new picture");
    writeFile(copy, "an earlier copy, longer than the new one");
    ASSERT_TRUE(SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_HIDDEN));
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    setText(run.control(txtPicture), source);
    click(run.control(chkCopyPicture));
    postClick(run.control(cmdSkin0));
    expectDoneThenEnd(run);

    EXPECT_EQ(readFile(copy), "new picture");
    EXPECT_EQ(attributesOf(copy) & kProtection, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(readFile(source), "new picture");
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_Image"), L"Sunset by the sea.bmp");
}

TEST(Apply, PictureAlreadyInTheFolderIsKeptIntact)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    const std::wstring picture = folder.at(L"background.bmp");
    writeFile(picture, "the picture itself");
    writeIni(settings, kView, L"IconArea_Image", L"background.bmp");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    ASSERT_EQ(windowText(run.control(txtPicture)), L"background.bmp");

    click(run.control(chkCopyPicture));
    postClick(run.control(cmdSkin0));
    expectDoneThenEnd(run);

    EXPECT_EQ(readFile(picture), "the picture itself");
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Image"), L"background.bmp");
}

TEST(Apply, MissingFolderIsReportedAndTheWindowKeepsItsSettings)
{
    TempFolder base;
    const std::wstring folder = base.at(L"нет такого каталога");
    QuenmarkRun run(L" \"" + folder + L"\"", base.path());
    ASSERT_TRUE(run.started());

    setText(run.control(txtPicture), L"C:\\фон.bmp");
    click(run.control(chkBackColor));
    setSwatchColor(run.control(shpBackColor), RGB(0x33, 0x22, 0x11));
    postClick(run.control(cmdSkin0));
    const HWND stop = run.waitForBox(L"Quenmark");
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(readBox(stop).text, folder + L"\\Desktop.INI\r\n\r\nНе удаётся сохранить файл.");
    expectStopBoxThenWindowStays(run, folder);

    EXPECT_EQ(windowText(run.control(txtWorkFolder)), folder);
    EXPECT_EQ(windowText(run.control(txtPicture)), L"C:\\фон.bmp");
    EXPECT_EQ(checkState(run.control(chkTextColor)), BST_UNCHECKED);
    EXPECT_EQ(checkState(run.control(chkBackColor)), BST_CHECKED);
    EXPECT_EQ(swatchColor(run.control(shpBackColor)), RGB(0x33, 0x22, 0x11));
    EXPECT_FALSE(pathExists(folder));
}

TEST(Apply, FailedPictureCopyIsReportedAndNothingSaved)
{
    TempFolder pictures;
    TempFolder folder;
    const std::wstring missing = pictures.at(L"missing.bmp");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    setText(run.control(txtPicture), missing);
    click(run.control(chkCopyPicture));
    postClick(run.control(cmdSkin0));
    expectStopBoxThenWindowStays(run,
                                 L"Не удалось скопировать файл картинки.\r\n\r\nНовое имя файла: "
                                     + folder.at(L"missing.bmp") + L"\r\n\r\n");
    EXPECT_FALSE(pathExists(folder.desktopIni()));
    EXPECT_FALSE(pathExists(folder.at(L"missing.bmp")));
}

// What the settings file (an ANSI file, code page 1251 here) cannot hold is refused
// before anything is written, rather than saved as another name.
TEST(Apply, PictureOutsideTheCodePageIsRefused)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    const std::wstring picture = L"C:\\写真\\空.jpg";
    setText(run.control(txtPicture), picture);
    postClick(run.control(cmdSkin0));
    expectStopBoxThenWindowStays(run, picture + L"\r\n\r\n");
    EXPECT_FALSE(pathExists(folder.desktopIni()));
    EXPECT_EQ(windowText(run.control(txtPicture)), picture);
}

TEST(Remove, DeletesOnlyTheViewSettings)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    writeIni(settings, kViews, kView, kView);
    writeIni(settings, kViews, kOtherViewId, kOtherViewId);
    writeIni(settings, kView, L"Attributes", L"1");
    writeIni(settings, kView, L"IconArea_Image", L"фон.bmp");
    writeIni(settings, kView, L"IconArea_Text", L"0x000000FF");
    writeIni(settings, kClassInfo, L"ConfirmFileOp", L"0");
    writeIni(settings, kClassInfo, L"IconResource", L"C:\\icons.dll,3");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    postClick(run.control(cmdSkin1));
    expectDoneThenEnd(run);

    EXPECT_EQ(iniValue(settings, kViews, kView), std::nullopt);
    EXPECT_EQ(iniValue(settings, kViews, kOtherViewId), kOtherViewId);
    EXPECT_FALSE(iniHasSection(settings, kView));
    EXPECT_EQ(iniValue(settings, kClassInfo, L"ConfirmFileOp"), L"0");
    EXPECT_EQ(iniValue(settings, kClassInfo, L"IconResource"), L"C:\\icons.dll,3");
    EXPECT_EQ(attributesOf(settings) & kProtection, kHiddenSystem);
}

TEST(Remove, WithoutSettingsFileCreatesNone)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    postClick(run.control(cmdSkin1));
    expectDoneThenEnd(run);
    EXPECT_FALSE(pathExists(folder.desktopIni()));
}

} // namespace
