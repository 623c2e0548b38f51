// The exe as started from a command line: which folder it shows, what it reads there,
// its icon and its keys.
#include "Driver.h"
#include "version.h"

using namespace e2e;

namespace {

TEST(Startup, ShowsTheFolderSettingsUntilEscape)
{
    TempFolder folder;
    writeIni(folder.desktopIni(), kView, L"IconArea_Image", L"D:\\Фото\\Небо над озером.jpg");
    writeIni(folder.desktopIni(), kView, L"IconArea_Text", L"0x000000FF");
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    EXPECT_EQ(windowText(run.main()), L"Quenmark");
    EXPECT_EQ(windowText(run.control(txtWorkFolder)), folder.path());
    EXPECT_EQ(windowText(run.control(txtPicture)), L"D:\\Фото\\Небо над озером.jpg");
    EXPECT_EQ(run.checked(chkCopyPicture), BST_UNCHECKED);
    EXPECT_EQ(run.checked(chkTextColor), BST_CHECKED);
    EXPECT_EQ(run.checked(chkBackColor), BST_UNCHECKED);
    EXPECT_TRUE(showsColour(run.control(shpTextColor), 0xFF0000));
    EXPECT_TRUE(showsColour(run.control(shpBackColor), 0xFFFFFF));
    ScreenImage(run.main()).save(windowsPath(L"" QUENMARK_ARTIFACTS) + L"\\quenmark-window.bmp");

    ASSERT_TRUE(run.pressKey(VK_ESCAPE));
    EXPECT_TRUE(run.endsCleanly());
}

// The folder is the whole command line, trimmed of blanks and of one pair of quotes; none
// means the current folder. Only "with blanks" has a settings file, naming a picture.
TEST(Startup, CommandLineNamesTheFolder)
{
    TempFolder base;
    TempFolder spaced(L" with blanks");
    writeIni(spaced.desktopIni(), kView, L"IconArea_Image", L"закат.jpg");
    const struct {
        std::wstring arguments;
        const TempFolder& current;
        const TempFolder& shown;
    } cases[] = {
        {L" \"" + spaced.path() + L"\"", base, spaced},
        {L" \t \"" + spaced.path() + L"\"  \t ", base, spaced},
        {L"   " + base.path() + L"   ", spaced, base},
        {L"", spaced, spaced},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.arguments));
        QuenmarkRun run(c.arguments, c.current.path());
        ASSERT_TRUE(run.started());
        EXPECT_EQ(windowText(run.control(txtWorkFolder)), c.shown.path());
        EXPECT_EQ(windowText(run.control(txtPicture)), &c.shown == &spaced ? L"закат.jpg" : L"");
    }
}

// The exe's small A_MAIN icon drawn on black and on white: 0x00RRGGBB where the two
// agree, kSeeThrough where the icon lets the background show.
constexpr std::uint32_t kSeeThrough = 0xFF000000;

std::vector<std::uint32_t> smallIcon(int size)
{
    const HMODULE exe = LoadLibraryExW(exeUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const auto icon = static_cast<HICON>(LoadImageW(exe, L"A_MAIN", IMAGE_ICON, size, size, 0));
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, size, 2 * size);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT white = {0, size, size, 2 * size};
    FillRect(memory, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    DrawIconEx(memory, 0, size, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; icon && y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const COLORREF onBlack = GetPixel(memory, x, y);
            const std::uint32_t rgb = GetRValue(onBlack) << 16 | GetGValue(onBlack) << 8 | GetBValue(onBlack);
            pixels.push_back(onBlack == GetPixel(memory, x, y + size) ? rgb : kSeeThrough);
        }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyIcon(icon);
    FreeLibrary(exe);
    return pixels;
}

// Window icons cannot be asked for across processes under Wine, so this looks for the
// small icon where the frame draws it: in the caption, near the window's top left.
TEST(Startup, CaptionShowsTheApplicationIcon)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    const int size = GetSystemMetrics(SM_CXSMICON);
    const std::vector<std::uint32_t> icon = smallIcon(size);
    ASSERT_EQ(icon.size(), static_cast<std::size_t>(size * size));

    // Windows of earlier runs may still cover this one for a moment.
    SetForegroundWindow(run.main());
    const auto matchesAt = [&](const ScreenImage& shot, int left, int top) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (const std::uint32_t want = icon[static_cast<std::size_t>(y * size + x)];
                    want != kSeeThrough && shot.at(left + x, top + y) != want)
                    return false;
        return true;
    };
    EXPECT_TRUE(waitUntil([&] {
        const ScreenImage shot(run.main());
        for (int top = 0; top + size <= std::min(shot.height(), 3 * size); ++top)
            for (int left = 0; left + size <= std::min(shot.width(), 3 * size); ++left)
                if (matchesAt(shot, left, top))
                    return true;
        return false;
    })) << "no "
        << size << "x" << size << " A_MAIN icon in the caption";
}

TEST(Startup, OnlyShiftF1OpensTheAboutBox)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(waitUntil([&] { return run.focus() == run.control(txtWorkFolder); }));

    ASSERT_TRUE(run.pressKey(VK_F1));
    ASSERT_TRUE(run.pressKey(VK_F1, {VK_CONTROL, VK_SHIFT}));
    ASSERT_TRUE(run.pressKey(VK_ESCAPE, {VK_SHIFT}));
    // Keys are handled in order: once the Tab has moved the focus, the keys before it
    // have been handled, and anything they opened would be open.
    ASSERT_TRUE(run.pressKey(VK_TAB));
    EXPECT_TRUE(waitUntil([&] { return run.focus() == run.control(cmdBrowseFolder); }));
    EXPECT_EQ(run.windowOf(L"#32770"), nullptr);

    ASSERT_TRUE(run.pressKey(VK_F1, {VK_SHIFT}));
    const HWND about = run.waitForBox();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windowText(about), L"О программе Quenmark");
    EXPECT_EQ(windowText(GetDlgItem(about, 0xFFFF)).find(L"Quenmark " QUENMARK_VERSION_TEXT), 0u);
    EXPECT_FALSE(IsWindowEnabled(run.main())) << "the box is modal to the window";
    postClick(GetDlgItem(about, IDOK));
    EXPECT_TRUE(run.boxesClosed());
    EXPECT_TRUE(run.running());
}

} // namespace
