// Keys pressed in the running program, as real keyboard input.
#include "Driver.h"
#include "resources/MainLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace e2e;

namespace {

// "major.minor.patch" from the exe's version resource.
std::wstring productVersion(const std::wstring& exe)
{
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (block.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data())
        || !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return L"?";
    return std::to_wstring(HIWORD(info->dwProductVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwProductVersionMS))
        + L"." + std::to_wstring(HIWORD(info->dwProductVersionLS));
}

TEST(Keys, EscapeEndsTheProgram)
{
    TempFolder folder;
    writeIni(folder.desktopIni(), kView, L"IconArea_Text", L"0x000000FF");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    // A picture of the window for people to look at; it must show the window's colours.
    const HWND swatch = run.control(shpTextColor);
    ASSERT_TRUE(swatchShows(swatch, RGB(255, 0, 0)));
    const ScreenImage shot = ScreenImage::ofWindow(run.main());
    shot.save(artifactsFolder() + L"\\quenmark-window.bmp");
    RECT window, inner;
    GetWindowRect(run.main(), &window);
    GetWindowRect(swatch, &inner);
    EXPECT_EQ(shot.pixel((inner.left + inner.right) / 2 - window.left, (inner.top + inner.bottom) / 2 - window.top),
              RGB(255, 0, 0));

    ASSERT_TRUE(run.pressKey(VK_ESCAPE));
    EXPECT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
}

TEST(Keys, ShiftF1ShowsTheAboutBox)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    ASSERT_TRUE(run.pressKey(VK_F1, {VK_SHIFT}));
    const HWND about = run.waitForBox(L"О программе Quenmark");
    ASSERT_NE(about, nullptr);
    const Box box = readBox(about);
    EXPECT_NE(box.text.find(L"Quenmark " + productVersion(exeUnderTest())), std::wstring::npos) << box.text;
    EXPECT_NE(box.icon, nullptr);
    EXPECT_FALSE(IsWindowEnabled(run.main())) << "the box is modal to the window";

    ASSERT_NE(box.okButton(), nullptr);
    postClick(box.okButton());
    EXPECT_TRUE(run.waitForBoxClosed(about));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(run.main()) != FALSE; }));
    EXPECT_TRUE(run.running());
    EXPECT_TRUE(IsWindowVisible(run.main()));
}

TEST(Keys, OtherHelpAndEscapeCombinationsDoNothing)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(waitUntil([&] { return run.focus() == run.control(txtWorkFolder); }));

    ASSERT_TRUE(run.pressKey(VK_F1));
    ASSERT_TRUE(run.pressKey(VK_F1, {VK_CONTROL, VK_SHIFT}));
    ASSERT_TRUE(run.pressKey(VK_ESCAPE, {VK_SHIFT}));
    // Keys are handled in the order they came: once the Tab after them has moved the
    // focus, they have been handled too, and anything they opened would be open.
    ASSERT_TRUE(run.pressKey(VK_TAB));
    EXPECT_TRUE(waitUntil([&] { return run.focus() == run.control(cmdBrowseFolder); }));
    EXPECT_TRUE(run.boxes().empty());
    EXPECT_TRUE(run.running());
    EXPECT_TRUE(IsWindowVisible(run.main()));
}

} // namespace
