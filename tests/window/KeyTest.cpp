#include "tests/window/WindowHarness.h"

#include <vector>

namespace {

// The window in front with the focus in an empty picture box, as a user typing finds it.
class MainWindowKeys : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        open(folder.path());
        bringToFront();
        SetWindowTextW(item(txtPicture), L"");
        SetFocus(item(txtPicture));
        pump();
    }

    // Types a marker and waits for it in the picture box: every key sent before it has
    // then been handled.
    void settle()
    {
        typeText(L"#");
        ASSERT_TRUE(pumpUntil([this] {
            const std::wstring typed = text(txtPicture);
            return !typed.empty() && typed.back() == L'#';
        }));
    }

    TempFolder folder;
};

TEST_F(MainWindowKeys, ShiftF1OpensTheAboutBoxOnceOwnedByTheWindow)
{
    pressKey({VK_SHIFT}, VK_F1);
    settle();
    EXPECT_EQ(components.aboutOwners, std::vector<HWND> {window()});
}

TEST_F(MainWindowKeys, F1AloneCtrlShiftF1AndShiftEscDoNothing)
{
    const HWND before = window();
    pressKey({}, VK_F1);
    pressKey({VK_CONTROL, VK_SHIFT}, VK_F1);
    pressKey({VK_SHIFT}, VK_ESCAPE);
    settle();
    EXPECT_TRUE(components.aboutOwners.empty());
    EXPECT_TRUE(IsWindow(before));
    EXPECT_EQ(window(), before);
    EXPECT_FALSE(quitPosted);
}

TEST_F(MainWindowKeys, EscClosesTheWindowAndEndsTheProgram)
{
    const HWND before = window();
    pressKey({}, VK_ESCAPE);
    ASSERT_TRUE(pumpUntil([this] { return quitPosted; }, 10000));
    EXPECT_FALSE(IsWindow(before));
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindowKeys, OtherKeysStillReachTheFocusedControl)
{
    typeText(L"seaж");
    pressKey({}, VK_BACK);
    settle();
    EXPECT_EQ(text(txtPicture), L"sea#");
    EXPECT_EQ(form_->state().picture, L"sea#");

    pressKey({}, VK_TAB);
    EXPECT_TRUE(pumpUntil([this] { return GetFocus() == item(cmdBrowse); }));
}

TEST_F(MainWindowKeys, EnterAppliesWhatTheWindowShows)
{
    click(chkTextColor);
    components.colorAnswers.push_back(0x00102030);
    click(cmdBrowseTextColor);
    SetWindowTextW(item(txtPicture), L"D:\\Обои\\море.jpg");
    SetFocus(item(txtPicture));
    pump();

    pressKey({}, VK_RETURN);
    ASSERT_TRUE(pumpUntil([this] { return quitPosted; }, 10000));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, L"Готово!");
    EXPECT_EQ(iniValue(folder.desktopIni(), L"ExtShellFolderViews", kView), kView);
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_Image"), L"D:\\Обои\\море.jpg");
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_Text"), L"0x00102030");
    EXPECT_EQ(iniValue(folder.desktopIni(), kView, L"IconArea_TextBackground"), std::nullopt);
}

} // namespace
