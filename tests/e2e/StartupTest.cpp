// The exe as started from a command line: its window, its resources, and what it
// reads from the folder's settings file.
#include "Driver.h"
#include "common/Screen.h"
#include "resources/MainLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <utility>
#include <vector>

using namespace e2e;

namespace {

struct Place {
    int left, top, width, height; // at 96 DPI
};

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD styleMask; // the style bits that must be as in style
    DWORD style;
    Place place;
};

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kLabelMask = SS_TYPEMASK | SS_NOPREFIX | WS_TABSTOP;
constexpr DWORD kEditMask = ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kButtonMask = BS_TYPEMASK | WS_TABSTOP;

// In creation order, which is also the order of the child windows.
const ExpectedControl kLayout[] = {
    {lblTag1, L"Static", L"Каталог:", kLabelMask, kLabelStyle, {12, 16, 53, 13}},
    {txtWorkFolder, L"Edit", nullptr, kEditMask, ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, {80, 12, 265, 21}},
    {cmdBrowseFolder, L"Button", L"...", kButtonMask, BS_PUSHBUTTON | WS_TABSTOP, {348, 12, 25, 21}},
    {lblTag0, L"Static", L"Картинка:", kLabelMask, kLabelStyle, {12, 44, 61, 13}},
    {txtPicture, L"Edit", L"", kEditMask, ES_AUTOHSCROLL | WS_TABSTOP, {80, 40, 265, 21}},
    {cmdBrowse, L"Button", L"...", kButtonMask, BS_PUSHBUTTON | WS_TABSTOP, {348, 40, 25, 21}},
    {chkCopyPicture,
     L"Button",
     L"Копировать в настраиваемый каталог",
     kButtonMask,
     BS_AUTOCHECKBOX | WS_TABSTOP,
     {80, 68, 253, 13}},
    {chkTextColor, L"Button", L" Текст:", kButtonMask, BS_AUTOCHECKBOX | WS_TABSTOP, {12, 92, 65, 13}},
    {cmdBrowseTextColor, L"Button", L"...", kButtonMask, BS_PUSHBUTTON | WS_TABSTOP, {348, 88, 25, 21}},
    {chkBackColor, L"Button", L" Фон:", kButtonMask, BS_AUTOCHECKBOX | WS_TABSTOP, {12, 120, 53, 13}},
    {cmdBrowseBackColor, L"Button", L"...", kButtonMask, BS_PUSHBUTTON | WS_TABSTOP, {348, 116, 25, 21}},
    {cmdSkin0, L"Button", L"Установить!", kButtonMask, BS_DEFPUSHBUTTON | WS_TABSTOP, {140, 144, 113, 29}},
    {cmdSkin1, L"Button", L"Удалить", kButtonMask, BS_PUSHBUTTON | WS_TABSTOP, {260, 144, 113, 29}},
    {shpTextColor, L"QuenmarkColorSwatch", L"", WS_TABSTOP, 0, {80, 88, 265, 21}},
    {shpBackColor, L"QuenmarkColorSwatch", L"", WS_TABSTOP, 0, {80, 116, 265, 21}},
};

TEST(Startup, ShowsEveryControlAsLaidOut)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    const HWND main = run.main();

    EXPECT_EQ(className(main), L"QuenmarkMain");
    EXPECT_EQ(windowText(main), L"Quenmark");
    const SIZE client = clientSize(main);
    EXPECT_EQ(client.cx, scaled(385));
    EXPECT_EQ(client.cy, scaled(185));

    const std::vector<HWND> controls = children(main);
    ASSERT_EQ(controls.size(), std::size(kLayout));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ExpectedControl& expected = kLayout[i];
        const HWND control = controls[i];
        SCOPED_TRACE(testing::Message() << "control " << expected.id);
        EXPECT_EQ(GetDlgCtrlID(control), expected.id);
        EXPECT_EQ(className(control), expected.className);
        EXPECT_EQ(windowText(control), expected.text ? expected.text : folder.path().c_str());
        EXPECT_EQ(style(control) & (WS_CHILD | WS_VISIBLE | WS_DISABLED), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
        EXPECT_EQ(style(control) & expected.styleMask, expected.style);
        const RECT rect = rectInParent(control);
        EXPECT_EQ(rect.left, scaled(expected.place.left));
        EXPECT_EQ(rect.top, scaled(expected.place.top));
        EXPECT_EQ(rect.right - rect.left, scaled(expected.place.width));
        EXPECT_EQ(rect.bottom - rect.top, scaled(expected.place.height));
    }

    // A folder without a settings file shows no colours and the default ones.
    EXPECT_EQ(checkState(run.control(chkCopyPicture)), BST_UNCHECKED);
    EXPECT_EQ(checkState(run.control(chkTextColor)), BST_UNCHECKED);
    EXPECT_EQ(checkState(run.control(chkBackColor)), BST_UNCHECKED);
    EXPECT_EQ(swatchColor(run.control(shpTextColor)), RGB(0, 0, 0));
    EXPECT_EQ(swatchColor(run.control(shpBackColor)), RGB(255, 255, 255));
    EXPECT_TRUE(swatchShows(run.control(shpTextColor), RGB(0, 0, 0)));
    EXPECT_TRUE(swatchShows(run.control(shpBackColor), RGB(255, 255, 255)));
}

TEST(Startup, WindowCarriesIconsInBothSizes)
{
    TempFolder folder;
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    for (const WPARAM size : {ICON_BIG, ICON_SMALL}) {
        DWORD_PTR icon = 0;
        if (!SendMessageTimeoutW(run.main(), WM_GETICON, size, 0, SMTO_ABORTIFHUNG,
                                 static_cast<UINT>(kPatience.count()), &icon))
            GTEST_SKIP() << "this system does not pass WM_GETICON between processes (Wine does not)";
        EXPECT_NE(icon, 0u) << "icon size " << size;
    }
}

// The exe's small A_MAIN icon as the screen shows it: 0x00RRGGBB per opaque pixel,
// kSeeThrough where the icon lets the background show.
constexpr std::uint32_t kSeeThrough = 0xFF000000;
std::uint32_t rgb(COLORREF color)
{
    return static_cast<std::uint32_t>(GetRValue(color)) << 16 | static_cast<std::uint32_t>(GetGValue(color)) << 8
        | GetBValue(color);
}

std::vector<std::uint32_t> smallIconPixels(int size)
{
    const HMODULE exe = LoadLibraryExW(exeUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe)
        return {};
    const auto icon = static_cast<HICON>(LoadImageW(exe, L"A_MAIN", IMAGE_ICON, size, size, 0));
    std::vector<std::uint32_t> pixels;
    if (icon) {
        // Drawn on black and on white: a pixel that differs is one the icon leaves clear.
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, size, 2 * size);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT black = {0, 0, size, size}, white = {0, size, size, 2 * size};
        FillRect(memory, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(memory, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        DrawIconEx(memory, 0, size, icon, size, size, 0, nullptr, DI_NORMAL);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const COLORREF onBlack = GetPixel(memory, x, y);
                pixels.push_back(onBlack == GetPixel(memory, x, y + size) ? rgb(onBlack) : kSeeThrough);
            }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DestroyIcon(icon);
    }
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
    const std::vector<std::uint32_t> icon = smallIconPixels(size);
    ASSERT_EQ(icon.size(), static_cast<std::size_t>(size * size));

    // Windows of earlier runs may still cover this one for a moment.
    SetForegroundWindow(run.main());
    const auto captionHoldsIcon = [&] {
        const ScreenImage shot = ScreenImage::ofWindow(run.main());
        const auto matchesAt = [&](int left, int top) {
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const std::uint32_t want = icon[static_cast<std::size_t>(y * size + x)];
                    if (want != kSeeThrough && rgb(shot.pixel(left + x, top + y)) != want)
                        return false;
                }
            return true;
        };
        for (int top = 0; top + size <= std::min(shot.height(), 3 * size); ++top)
            for (int left = 0; left + size <= std::min(shot.width(), 3 * size); ++left)
                if (matchesAt(left, top))
                    return true;
        return false;
    };
    const bool found = waitUntil(captionHoldsIcon);
    EXPECT_TRUE(found) << "no " << size << "x" << size << " A_MAIN icon in the caption";
}

// The selection of an edit box as (start, end).
std::pair<int, int> selection(HWND edit)
{
    const auto packed = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
    return {LOWORD(packed), HIWORD(packed)};
}

TEST(Startup, TabVisitsControlsInOrderAndSelectsBoxTexts)
{
    TempFolder folder;
    const std::wstring picture = L"C:\\Картинки\\фон.bmp";
    writeIni(folder.desktopIni(), kView, L"IconArea_Image", picture);
    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());

    const HWND folderBox = run.control(txtWorkFolder);
    ASSERT_TRUE(waitUntil([&] { return run.focus() == folderBox; }));
    const std::pair<int, int> all(0, static_cast<int>(folder.path().size()));
    EXPECT_EQ(selection(folderBox), all);

    const int order[] = {cmdBrowseFolder, txtPicture,         cmdBrowse,    chkCopyPicture,
                         chkTextColor,    cmdBrowseTextColor, chkBackColor, cmdBrowseBackColor,
                         cmdSkin0,        cmdSkin1,           txtWorkFolder};
    for (int id : order) {
        SCOPED_TRACE(testing::Message() << "tab to " << id);
        ASSERT_TRUE(run.pressKey(VK_TAB));
        ASSERT_TRUE(waitUntil([&] { return run.focus() == run.control(id); }))
            << "focus on " << GetDlgCtrlID(run.focus());
        if (id == txtPicture) {
            EXPECT_EQ(selection(run.control(txtPicture)), std::make_pair(0, static_cast<int>(picture.size())));
        }
    }
    ASSERT_TRUE(run.pressKey(VK_TAB, {VK_SHIFT}));
    EXPECT_TRUE(waitUntil([&] { return run.focus() == run.control(cmdSkin1); }));
}

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

const void* resourceData(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    const HRSRC resource = FindResourceW(module, name, type);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    return loaded ? LockResource(loaded) : nullptr;
}

BOOL CALLBACK firstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found)
{
    *reinterpret_cast<std::wstring*>(found) =
        IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<UINT_PTR>(name)) : std::wstring(name);
    return FALSE;
}

TEST(Startup, ExeHoldsSixteenColourIconsInBothSizes)
{
    const HMODULE exe = LoadLibraryExW(exeUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);

    // The shell shows the first icon group as the exe's icon.
    std::wstring first;
    EnumResourceNamesW(exe, RT_GROUP_ICON, firstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, L"A_MAIN");

    const auto* group = static_cast<const GroupIconHeader*>(resourceData(exe, L"A_MAIN", RT_GROUP_ICON));
    ASSERT_NE(group, nullptr);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + 1);
    std::vector<int> sizes;
    for (WORD i = 0; i < group->count; ++i) {
        const GroupIconEntry& entry = entries[i];
        SCOPED_TRACE(testing::Message() << "icon " << entry.id);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.colorCount, 16);
        sizes.push_back(entry.width);
        // The image itself, not only the directory, must be a 4-bit bitmap of that size.
        const auto* image =
            static_cast<const BITMAPINFOHEADER*>(resourceData(exe, MAKEINTRESOURCEW(entry.id), RT_ICON));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->biBitCount, 4);
        EXPECT_EQ(image->biWidth, entry.width);
        EXPECT_EQ(image->biHeight, 2 * entry.height); // colour and mask
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int> {16, 32}));
    FreeLibrary(exe);
}

// A settings file's colour keys (null: key absent) and what the window makes of them.
struct ColourCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* background;
    int textOn;
    COLORREF textColour;
    int backOn;
    COLORREF backColour;
};

void PrintTo(const ColourCase& colourCase, std::ostream* out)
{
    *out << colourCase.name;
}

class StartupColours : public testing::TestWithParam<ColourCase> {};

TEST_P(StartupColours, ShowsThePictureAndColoursOfTheSettingsFile)
{
    const ColourCase& colours = GetParam();
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    const std::wstring picture = L"D:\\Фото\\Небо над озером.jpg";
    writeIni(settings, L"ExtShellFolderViews", kView, kView);
    writeIni(settings, kView, L"IconArea_Image", picture);
    if (colours.text)
        writeIni(settings, kView, L"IconArea_Text", colours.text);
    if (colours.background)
        writeIni(settings, kView, L"IconArea_TextBackground", colours.background);

    QuenmarkRun run(L" " + folder.path(), folder.path());
    ASSERT_TRUE(run.started());
    EXPECT_EQ(windowText(run.control(txtPicture)), picture);
    EXPECT_EQ(checkState(run.control(chkTextColor)), colours.textOn);
    EXPECT_EQ(swatchColor(run.control(shpTextColor)), colours.textColour);
    EXPECT_EQ(checkState(run.control(chkBackColor)), colours.backOn);
    EXPECT_EQ(swatchColor(run.control(shpBackColor)), colours.backColour);
    EXPECT_TRUE(swatchShows(run.control(shpTextColor), colours.textColour));
    EXPECT_TRUE(swatchShows(run.control(shpBackColor), colours.backColour));
    EXPECT_EQ(checkState(run.control(chkCopyPicture)), BST_UNCHECKED);
}

// Colours are stored as 0x00BBGGRR: 0x000000FF is red.
INSTANTIATE_TEST_SUITE_P(
    SettingsFile, StartupColours,
    testing::Values(
        ColourCase {"BothColours", L"0x000000FF", L"0x00FF8000", BST_CHECKED, RGB(255, 0, 0), BST_CHECKED,
                    RGB(0, 128, 255)},
        ColourCase {"NoColourKeys", nullptr, nullptr, BST_UNCHECKED, RGB(0, 0, 0), BST_UNCHECKED, RGB(255, 255, 255)},
        ColourCase {"BlackAndWhiteAreColours", L"0x00000000", L"0x00FFFFFF", BST_CHECKED, RGB(0, 0, 0), BST_CHECKED,
                    RGB(255, 255, 255)},
        ColourCase {"SystemColourAndTooLargeCountAsNone", L"0x8000000F", L"0x01000000", BST_UNCHECKED, RGB(0, 0, 0),
                    BST_UNCHECKED, RGB(255, 255, 255)},
        ColourCase {"DecimalValues", L"-1", L"16744448", BST_UNCHECKED, RGB(0, 0, 0), BST_CHECKED, RGB(0, 128, 255)},
        ColourCase {"UnreadableColourTakesTheOneReadBefore", L"0x00563412", L"blue", BST_CHECKED, RGB(0x12, 0x34, 0x56),
                    BST_CHECKED, RGB(0x12, 0x34, 0x56)},
        ColourCase {"UnreadableFirstColourIsBlack", L"red", L"0x00563412", BST_CHECKED, RGB(0, 0, 0), BST_CHECKED,
                    RGB(0x12, 0x34, 0x56)}),
    [](const testing::TestParamInfo<ColourCase>& colourCase) { return std::string(colourCase.param.name); });

// The folder's own settings are shown, which proves that the window works on it.
void expectShowsFolder(QuenmarkRun& run, const std::wstring& folder, const std::wstring& picture)
{
    ASSERT_TRUE(run.started());
    EXPECT_EQ(windowText(run.control(txtWorkFolder)), folder);
    EXPECT_EQ(windowText(run.control(txtPicture)), picture);
}

// A new folder of that name in base, whose settings file names the picture "закат.jpg".
std::wstring folderWithPicture(const TempFolder& base, const std::wstring& name)
{
    const std::wstring folder = base.at(name);
    makeFolder(folder);
    writeIni(folder + L"\\Desktop.INI", kView, L"IconArea_Image", L"закат.jpg");
    return folder;
}

TEST(CommandLine, QuotedFolderWithSpaces)
{
    TempFolder base;
    const std::wstring folder = folderWithPicture(base, L"My pictures and photos");

    QuenmarkRun run(L" \"" + folder + L"\"", base.path());
    expectShowsFolder(run, folder, L"закат.jpg");
}

TEST(CommandLine, BlanksAroundTheFolderAreDropped)
{
    TempFolder base;
    const std::wstring folder = folderWithPicture(base, L"My pictures");
    {
        QuenmarkRun quoted(L" \t \"" + folder + L"\"  \t ", base.path());
        expectShowsFolder(quoted, folder, L"закат.jpg");
    }
    {
        QuenmarkRun bare(L"   " + base.path() + L"   ", folder);
        expectShowsFolder(bare, base.path(), L"");
    }
}

TEST(CommandLine, WithoutArgumentsTheCurrentFolder)
{
    TempFolder folder;
    writeIni(folder.desktopIni(), kView, L"IconArea_Image", L"закат.jpg");

    QuenmarkRun run(L"", folder.path());
    expectShowsFolder(run, folder.path(), L"закат.jpg");
}

} // namespace
