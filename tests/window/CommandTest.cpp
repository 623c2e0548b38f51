#include "tests/window/WindowHarness.h"

namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class MainWindowCommands : public MainWindowTest {
protected:
    std::wstring look() const { return describe(form_->state()); }

    // Every way out of a command puts the arrow back, also for the next WM_SETCURSOR.
    void expectArrowPointer()
    {
        const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
        EXPECT_EQ(GetCursor(), arrow) << "the command left the hourglass";
        SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), arrow) << "the window still asks for the hourglass";
    }

    // The one box that ends a command that worked; the window is gone after it.
    void expectDoneAndClosed(HWND shownWindow)
    {
        const std::vector<ShownBox> shown = boxes.shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, L"Готово!");
        EXPECT_EQ(shown[0].title, L"Quenmark");
        EXPECT_EQ(shown[0].icon, BoxIcon::Information);
        EXPECT_EQ(shown[0].owner, shownWindow) << "the window must still be there while the box shows";
        EXPECT_FALSE(IsWindow(shownWindow));
        EXPECT_FALSE(form_->isLoaded());
        pump();
        EXPECT_TRUE(quitPosted);
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_TRUE(components.errorReports.empty());
    }

    TempFolder folder {L" Мои фото"};
    TempFolder pictures {L" картинки"};
};

TEST_F(MainWindowCommands, FailedCopyIsReportedAndNothingIsSaved)
{
    writeLook(folder, L"IconArea_Image=D:\\Обои\\море.jpg\r\nIconArea_Text=0x000000FF\r\n");
    open(folder.path());
    SetWindowTextW(item(txtPicture), pictures.at(L"нет такой.bmp").c_str());
    click(chkCopyPicture);
    const std::wstring before = look();
    const auto fileBefore = readFile(folder.desktopIni());
    const DWORD fileAttributes = attributesOf(folder.desktopIni());
    const DWORD folderAttributes = attributesOf(folder.path());

    click(cmdSkin0);

    ASSERT_EQ(components.errorReports.size(), 1u);
    const ErrorReport& report = components.errorReports[0];
    EXPECT_EQ(report.message,
              L"Не удалось скопировать файл картинки.\r\n\r\nНовое имя файла: " + folder.at(L"нет такой.bmp"));
    EXPECT_EQ(report.style, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(report.number, 2u); // ERROR_FILE_NOT_FOUND
    EXPECT_EQ(report.pointer, LoadCursorW(nullptr, IDC_WAIT)) << "no hourglass while the command ran";
    EXPECT_TRUE(report.windowShown);

    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(form_->isLoaded());
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_EQ(look(), before);
    EXPECT_EQ(readFile(folder.desktopIni()), fileBefore);
    EXPECT_EQ(attributesOf(folder.desktopIni()), fileAttributes);
    EXPECT_EQ(attributesOf(folder.path()), folderAttributes);
    EXPECT_FALSE(pathExists(folder.at(L"нет такой.bmp")));
    expectArrowPointer();
}

TEST_F(MainWindowCommands, ApplyCopiesThePictureSavesItsBareNameAndCloses)
{
    open(folder.path());
    const std::wstring source = pictures.at(L"море.bmp");
    writeFile(source, "BM picture");
    SetWindowTextW(item(txtPicture), source.c_str());
    click(chkCopyPicture);
    click(chkBackColor);
    components.colorAnswers.push_back(0x00336699);
    click(cmdBrowseBackColor);
    const HWND shownWindow = window();

    click(cmdSkin0);

    expectDoneAndClosed(shownWindow);
    const std::wstring copy = folder.at(L"море.bmp");
    EXPECT_EQ(readFile(copy), readFile(source));
    EXPECT_NE(attributesOf(copy) & FILE_ATTRIBUTE_HIDDEN, 0u);
    const std::wstring ini = folder.desktopIni();
    EXPECT_EQ(iniValue(ini, L"ExtShellFolderViews", kView), kView);
    EXPECT_EQ(iniValue(ini, kView, L"Attributes"), L"1");
    EXPECT_EQ(iniValue(ini, kView, L"IconArea_Image"), L"море.bmp");
    EXPECT_EQ(iniValue(ini, kView, L"IconArea_Text"), std::nullopt);
    EXPECT_EQ(iniValue(ini, kView, L"IconArea_TextBackground"), L"0x00336699");
    EXPECT_EQ(iniValue(ini, L".ShellClassInfo", L"ConfirmFileOp"), L"0");
    EXPECT_EQ(attributesOf(ini) & kHiddenSystem, kHiddenSystem);
}

TEST_F(MainWindowCommands, ReapplyingAPictureCopiedEarlierLeavesItIntact)
{
    const std::wstring copy = folder.at(L"море.bmp");
    writeFile(copy, "BM copy");
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_HIDDEN);
    writeLook(folder, L"IconArea_Image=море.bmp\r\n");
    // A file of the same name in the current folder must not be taken for it.
    writeFile(pictures.at(L"море.bmp"), "BM another");
    const CurrentDirectory elsewhere(pictures.path());
    open(folder.path());
    ASSERT_EQ(text(txtPicture), L"море.bmp");
    click(chkCopyPicture);
    const auto original = readFile(copy);
    const HWND shownWindow = window();

    click(cmdSkin0);

    expectDoneAndClosed(shownWindow);
    EXPECT_EQ(readFile(copy), original);
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_Image"), L"море.bmp");
}

TEST_F(MainWindowCommands, RemoveDeletesOnlyTheViewSettings)
{
    writeLook(folder, L"IconArea_Image=D:\\Обои\\море.jpg\r\nIconArea_Text=0x000000FF\r\n");
    open(folder.path());
    // Remove saves no picture, so one the code page cannot hold does not stop it.
    SetWindowTextW(item(txtPicture), L"D:\\日本\\море.jpg");
    const HWND shownWindow = window();

    click(cmdSkin1);

    expectDoneAndClosed(shownWindow);
    const std::wstring ini = folder.desktopIni();
    EXPECT_EQ(iniValue(ini, L"ExtShellFolderViews", kView), std::nullopt);
    EXPECT_FALSE(iniHasSection(ini, kView));
    EXPECT_EQ(iniValue(ini, L".ShellClassInfo", L"ConfirmFileOp"), L"0");
    EXPECT_EQ(attributesOf(ini) & kHiddenSystem, kHiddenSystem);
}

TEST_F(MainWindowCommands, FolderOutsideTheCodePageIsRefusedBeforeAnythingIsWritten)
{
    // Unrefused, Apply would try the copy and report its failure, and Remove would find
    // no settings file and say "Готово!".
    const TempFolder foreignFolder(L" 日本");
    const std::wstring& foreign = foreignFolder.path();
    const std::wstring source = pictures.at(L"море.bmp");
    writeFile(source, "BM");
    open(foreign);
    const std::size_t shownAtLoad = boxes.shown().size();
    SetWindowTextW(item(txtPicture), source.c_str());
    click(chkCopyPicture);
    click(chkTextColor);
    const std::wstring before = look();

    click(cmdSkin0);
    click(cmdSkin1);

    const std::vector<ShownBox> shown = boxes.shown();
    ASSERT_EQ(shown.size(), shownAtLoad + 2);
    for (std::size_t box = shownAtLoad; box < shown.size(); ++box) {
        EXPECT_EQ(shown[box].title, L"Quenmark");
        EXPECT_EQ(shown[box].text.rfind(foreign, 0), 0u) << "the refusal names the folder";
        EXPECT_EQ(shown[box].owner, window());
    }
    ASSERT_TRUE(form_->isLoaded());
    EXPECT_EQ(look(), before);
    EXPECT_TRUE(components.errorReports.empty());
    EXPECT_FALSE(pathExists(foreignFolder.desktopIni()));
    EXPECT_FALSE(pathExists(foreignFolder.at(L"море.bmp")));
    expectArrowPointer();
}

TEST_F(MainWindowCommands, PictureOutsideTheCodePageIsRefusedOnApply)
{
    open(folder.path());
    // Unrefused, the copy would fail and be reported.
    const std::wstring source = pictures.at(L"日本.bmp");
    SetWindowTextW(item(txtPicture), source.c_str());
    click(chkCopyPicture);
    const std::wstring before = look();

    click(cmdSkin0);

    const std::vector<ShownBox> shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, L"Quenmark");
    EXPECT_EQ(shown[0].text.rfind(source, 0), 0u) << "the refusal names the picture";
    EXPECT_EQ(shown[0].owner, window());
    ASSERT_TRUE(form_->isLoaded());
    EXPECT_EQ(look(), before);
    EXPECT_FALSE(pathExists(folder.desktopIni()));
    EXPECT_TRUE(components.errorReports.empty());
    expectArrowPointer();
}

TEST_F(MainWindowCommands, FailedSaveNamesTheFileAndKeepsTheWindow)
{
    const std::wstring missing = folder.at(L"нет такого каталога");
    open(missing);
    SetWindowTextW(item(txtPicture), L"D:\\Обои\\море.jpg");
    click(chkTextColor);
    const std::wstring before = look();

    click(cmdSkin0);

    const std::vector<ShownBox> shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, missing + L"\\Desktop.INI\r\n\r\nНе удаётся сохранить файл.");
    EXPECT_EQ(shown[0].title, L"Quenmark");
    EXPECT_EQ(shown[0].icon, BoxIcon::Stop);
    EXPECT_EQ(shown[0].owner, window());
    ASSERT_TRUE(form_->isLoaded());
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_TRUE(IsWindowEnabled(window()));
    EXPECT_EQ(look(), before);
    pump();
    EXPECT_FALSE(quitPosted);
    EXPECT_FALSE(pathExists(missing));
    EXPECT_TRUE(components.errorReports.empty());
    expectArrowPointer();
}

} // namespace
