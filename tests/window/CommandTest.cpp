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

// A failed copy goes to the error reporter while the hourglass shows; every other
// failure is told in a box. The window stays as it was, the arrow comes back.
TEST_F(MainWindowCommand, FailuresAreShownAndTheWindowStays)
{
    const TempFolder foreign(L" 日本");
    const std::wstring missing = folder.at(L"нет такого каталога");
    const std::wstring deep = folder.at(std::wstring(250 - folder.path().size(), L'x'));
    makeFolder(deep);
    open();
    SetWindowTextW(item(txtPicture), folder.at(L"нет.bmp").c_str());
    click(chkCopyPicture);
    click(cmdSkin0);
    ASSERT_EQ(components.reports.size(), 1u);
    const ErrorReport& report = components.reports[0];
    EXPECT_EQ(report.message, aboutPath(kCopyFailed, kNewFileName + folder.at(L"нет.bmp")));
    EXPECT_EQ(std::tuple(report.style, report.number), std::tuple(MB_ICONSTOP, ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(report.pointer, LoadCursorW(nullptr, IDC_WAIT));
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

    click(chkCopyPicture);
    const std::tuple<std::wstring, ControlId, std::wstring> cases[] = {
        {L"", cmdSkin1, kNoFolder},
        {missing, cmdSkin0, aboutPath(missing + L"\\Desktop.INI", kSaveFailed)},
        {foreign.path(), cmdSkin1, aboutPath(foreign.path(), std::wstring(kNotSaved) + L" " + kUnrepresentable)},
        {deep, cmdSkin1, aboutPath(deep + L"\\Desktop.INI", std::wstring(kNotSaved) + L" " + kPathTooLong)},
    };
    for (const auto& [folderText, button, message] : cases) {
        SetWindowTextW(item(txtWorkFolder), folderText.c_str());
        const auto before = look();
        click(button);
        ASSERT_EQ(boxTexts.size(), 1u);
        EXPECT_EQ(std::exchange(boxTexts, {})[0], message);
        ASSERT_TRUE(form_->isLoaded());
        EXPECT_EQ(look(), before);
    }
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
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone});
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_Text"), std::nullopt);
    EXPECT_EQ(iniValue(folder.desktopIni(), L"ExtShellFolderViews", kView), std::nullopt);
    EXPECT_EQ(GetFileAttributesW(folder.at(L"лес.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
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
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    *files = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// One folder is chosen as with the folder picker, one file becomes the picture;
// anything else is ignored, and a path the code page cannot hold is refused.
TEST_F(MainWindowCommand, DroppedFolderOrFileIsChosen)
{
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
    EXPECT_EQ(
        std::exchange(boxTexts, {}),
        std::vector<std::wstring> {aboutPath(foreign.path(), std::wstring(kNotAccepted) + L" " + kUnrepresentable)});
    EXPECT_EQ(look(), expected);

    drop(window(), {other.at(L"лес.bmp")});
    std::get<1>(expected) = other.at(L"лес.bmp");
    EXPECT_EQ(look(), expected);
    drop(window(), {other.path()});
    EXPECT_EQ(look(), std::tuple(other.path(), std::wstring(), kUnticked, kTicked, 0x102030, kUnticked, kWhite));
}

// Without a command line the window takes the current directory, however long; its
// settings file is then beyond the reach of the ANSI file functions.
TEST_F(MainWindowCommand, CurrentDirectoryIsTakenWhole)
{
    const std::wstring deep = folder.at(std::wstring(120, L'x') + L"\\" + std::wstring(150, L'y'));
    makeFolder(folder.at(std::wstring(120, L'x')));
    makeFolder(deep);
    const CurrentDirectory current(deep);
    open(L"  ");
    EXPECT_EQ(text(txtWorkFolder), deep);
    EXPECT_EQ(std::exchange(boxTexts, {}),
              std::vector<std::wstring> {aboutPath(deep, std::wstring(kLoadFailed) + L" " + kPathTooLong)});
}

} // namespace
