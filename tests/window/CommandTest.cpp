#include "tests/window/WindowHarness.h"

#include <utility>

namespace {

using MainWindowCommand = MainWindowTest;

TEST_F(MainWindowCommand, FailedCopyIsReportedUnderTheHourglassAndNothingIsSaved)
{
    writeLook(folder, L"IconArea_Text=0x000000FF\r\n");
    open();
    TempFolder pictures;
    SetWindowTextW(item(txtPicture), pictures.at(L"нет такой.bmp").c_str());
    click(chkCopyPicture);
    const auto before = look();
    const std::string fileBefore = readFile(folder.desktopIni());

    click(cmdSkin0);

    ASSERT_EQ(components.reports.size(), 1u);
    const ErrorReport& report = components.reports[0];
    EXPECT_EQ(report.message,
              L"Не удалось скопировать файл картинки.\r\n\r\nНовое имя файла: " + folder.at(L"нет такой.bmp"));
    EXPECT_EQ(report.style, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(report.number, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(report.pointer, LoadCursorW(nullptr, IDC_WAIT));

    ASSERT_TRUE(form_->isLoaded());
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_EQ(look(), before);
    EXPECT_EQ(readFile(folder.desktopIni()), fileBefore);

    // The arrow is back, also for the next WM_SETCURSOR.
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_EQ(GetCursor(), arrow);
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(MainWindowCommand, TextTheCodePageLacksIsRefusedBeforeAnythingIsCopiedOrWritten)
{
    const TempFolder foreign(L" 日本"), pictures;
    writeFile(pictures.at(L"日本.bmp"), "BM");
    writeFile(pictures.at(L"лес.bmp"), "BM");
    open();
    click(chkCopyPicture);
    struct Case {
        std::wstring folder, picture, named;
    };
    for (const Case& sample : {Case {folder.path(), pictures.at(L"日本.bmp"), pictures.at(L"日本.bmp")},
                               Case {foreign.path(), pictures.at(L"лес.bmp"), foreign.path()}}) {
        SetWindowTextW(item(txtWorkFolder), sample.folder.c_str());
        SetWindowTextW(item(txtPicture), sample.picture.c_str());
        click(cmdSkin0);
        ASSERT_EQ(boxTexts.size(), 1u);
        EXPECT_EQ(std::exchange(boxTexts, {})[0].rfind(sample.named, 0), 0u) << "the refusal names the text";
        ASSERT_TRUE(form_->isLoaded());
    }
    EXPECT_FALSE(pathExists(folder.at(L"日本.bmp")));
    EXPECT_FALSE(pathExists(foreign.at(L"лес.bmp")));
    EXPECT_FALSE(pathExists(folder.desktopIni()));
    EXPECT_FALSE(pathExists(foreign.desktopIni()));
}

} // namespace
