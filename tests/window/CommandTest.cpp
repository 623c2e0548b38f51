#include "tests/window/WindowHarness.h"

#include "resources/Texts.h"

#include <shlobj.h>

#include <cstring>
#include <utility>

namespace {

using MainWindowCommand = MainWindowTest;

std::wstring aboutPath(const std::wstring& path, const std::wstring& text)
{
    return path + L"\r\n\r\n" + text;
}

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
    EXPECT_EQ(report.message, aboutPath(kCopyFailed, kNewFileName + folder.at(L"нет такой.bmp")));
    EXPECT_EQ(report.style, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(report.number, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(report.pointer, LoadCursorW(nullptr, IDC_WAIT));

    ASSERT_TRUE(form_->isLoaded());
    EXPECT_EQ(look(), before);
    EXPECT_EQ(readFile(folder.desktopIni()), fileBefore);

    // The arrow is back, also for the next WM_SETCURSOR.
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_EQ(GetCursor(), arrow);
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
}

// Each refusal or failure is told in a box, and the window stays as it was.
TEST_F(MainWindowCommand, FailuresAreShownAndTheWindowStays)
{
    const TempFolder foreign(L" 日本");
    const std::wstring missing = folder.at(L"нет такого каталога");
    open();
    const struct {
        std::wstring folder;
        ControlId button;
        std::wstring message;
    } cases[] = {
        {L"", cmdSkin1, kNoFolder},
        {missing, cmdSkin0, aboutPath(missing + L"\\Desktop.INI", kSaveFailed)},
        {foreign.path(), cmdSkin1, aboutPath(foreign.path(), std::wstring(kNotSaved) + L" " + kUnrepresentable)},
    };
    for (const auto& c : cases) {
        SetWindowTextW(item(txtWorkFolder), c.folder.c_str());
        const auto before = look();
        click(c.button);
        ASSERT_EQ(boxTexts.size(), 1u);
        EXPECT_EQ(std::exchange(boxTexts, {})[0], c.message);
        ASSERT_TRUE(form_->isLoaded());
        EXPECT_EQ(look(), before);
    }
    EXPECT_FALSE(pathExists(missing));
    EXPECT_FALSE(pathExists(foreign.desktopIni()));
}

// Remove takes the settings away and copies nothing, even with copying ticked.
TEST_F(MainWindowCommand, RemoveSkipsTheCopyAndClosesAfterDone)
{
    writeLook(folder, L"IconArea_Image=старое.jpg\r\nIconArea_Text=0x000000FF\r\n");
    const TempFolder pictures;
    writeFile(pictures.at(L"лес.bmp"), "BM");
    open();
    SetWindowTextW(item(txtPicture), pictures.at(L"лес.bmp").c_str());
    click(chkCopyPicture);

    click(cmdSkin1);
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(std::exchange(boxTexts, {})[0], kDone);
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_Text"), std::nullopt);
    EXPECT_EQ(iniValue(folder.desktopIni(), L"ExtShellFolderViews", kView), std::nullopt);
    EXPECT_FALSE(pathExists(folder.at(L"лес.bmp")));
}

// The window sees each key before the focused control: Shift+F1 alone opens the about
// box, Esc alone unloads the window.
TEST_F(MainWindowCommand, OnlyShiftF1OpensTheAboutBoxAndOnlyEscCloses)
{
    open();
    const auto press = [this](WORD key, std::initializer_list<int> held) {
        BYTE keys[256] = {};
        for (const int modifier : held)
            keys[modifier] = 0x80;
        SetKeyboardState(keys);
        MSG message = {item(txtWorkFolder), WM_KEYDOWN, key, 1, 0, {}};
        form_->preTranslateMessage(message);
        std::memset(keys, 0, sizeof keys);
        SetKeyboardState(keys);
    };
    press(VK_F1, {});
    press(VK_F1, {VK_CONTROL, VK_SHIFT});
    press(VK_ESCAPE, {VK_SHIFT});
    EXPECT_TRUE(components.aboutOwners.empty());
    ASSERT_TRUE(form_->isLoaded());

    press(VK_F1, {VK_SHIFT});
    EXPECT_EQ(components.aboutOwners, std::vector<HWND> {window()});
    press(VK_ESCAPE, {});
    EXPECT_FALSE(form_->isLoaded());
}

// A drop as Explorer makes it: the paths, each ending in a NUL, then one more NUL.
void drop(HWND window, const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

TEST_F(MainWindowCommand, DroppedFolderOrFileIsChosen)
{
    writeLook(folder, L"IconArea_Image=море.jpg\r\n");
    const TempFolder other(L" Другой"), foreign(L" 日本");
    writeLook(other, L"IconArea_Text=0x00102030\r\n");
    writeFile(other.at(L"лес.bmp"), "BM");
    open();
    EXPECT_TRUE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    auto expected = look();

    for (const auto& ignored : {std::vector {other.path(), other.at(L"лес.bmp")}, std::vector {other.at(L"нет")}}) {
        drop(window(), ignored);
        EXPECT_EQ(look(), expected);
    }
    drop(window(), {foreign.path()});
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(std::exchange(boxTexts, {})[0],
              aboutPath(foreign.path(), std::wstring(kNotAccepted) + L" " + kUnrepresentable));
    EXPECT_EQ(look(), expected);

    drop(window(), {other.at(L"лес.bmp")});
    std::get<1>(expected) = other.at(L"лес.bmp");
    EXPECT_EQ(look(), expected);
    drop(window(), {other.path()});
    EXPECT_EQ(look(), std::tuple(other.path(), std::wstring(), kUnticked, kTicked, 0x102030, kUnticked, kWhite));
}

// Without a command line the window takes the current directory, however long.
TEST_F(MainWindowCommand, CurrentDirectoryIsTakenWhole)
{
    const std::wstring deep = folder.at(std::wstring(120, L'x') + L"\\" + std::wstring(150, L'y'));
    makeFolder(folder.at(std::wstring(120, L'x')));
    makeFolder(deep);
    const CurrentDirectory current(deep);
    open(L"  ");
    EXPECT_EQ(text(txtWorkFolder), deep);
    // Its settings file is beyond the reach of the ANSI file functions.
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(std::exchange(boxTexts, {})[0], aboutPath(deep, std::wstring(kLoadFailed) + L" " + kPathTooLong));
}

} // namespace
