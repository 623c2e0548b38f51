// The preview's drawing, rendered into a memory bitmap and read back by pixel; its
// pictures and folder listing on real files.
#include "common/TestFiles.h"
#include "preview/FolderListing.h"
#include "preview/PictureDecoder.h"
#include "preview/PreviewPainter.h"
#include "resources/PreviewLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 255);

// A 32-bit bitmap of a fixed size that the painter draws into.
class Canvas {
public:
    static constexpr int kWidth = 320, kHeight = 240;

    Canvas()
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0));
        SelectObject(dc_.get(), bitmap_.get());
    }
    void paint(const PreviewScene& scene)
    {
        ShellIcons icons;
        paintPreview(dc_.get(), {0, 0, kWidth, kHeight}, scene, icons);
        GdiFlush();
    }
    COLORREF at(int x, int y) const
    {
        const std::uint32_t pixel = pixels_[y * kWidth + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // How many pixels of the area have exactly the colour.
    int count(const RECT& area, COLORREF color) const
    {
        int found = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                found += at(x, y) == color;
        }
        return found;
    }

private:
    MemoryDC dc_ {CreateCompatibleDC(nullptr)};
    BitmapHandle bitmap_;
    std::uint32_t* pixels_ = nullptr;
};

FolderLookState lookAt(const std::wstring& folder)
{
    FolderLookState look;
    look.folder = folder;
    return look;
}

struct PreviewPaint : ::testing::Test {
    PreviewScene scene(const std::vector<PreviewItem>& items, const DecodedPicture* picture = nullptr) const
    {
        return {look, items, picture, notice, font.get(), 0};
    }
    DecodedPicture decoded(const std::string& bytes) const
    {
        writeFile(folder.at(L"картинка.bmp"), bytes);
        DecodedPicture picture;
        EXPECT_EQ(decodePicture(folder.at(L"картинка.bmp"), picture), DecodeResult::Decoded);
        return picture;
    }
    // The area of a cell below its icon, where the caption goes.
    static RECT captionArea(int column)
    {
        const int cx = GetSystemMetrics(SM_CXICONSPACING), top = GetSystemMetrics(SM_CYICON) + 4;
        return {column * cx, top, (column + 1) * cx, GetSystemMetrics(SM_CYICONSPACING)};
    }

    TempFolder folder;
    FolderLookState look = lookAt(folder.path());
    std::wstring notice;
    FontHandle font = iconTitleFont();
    Canvas canvas;
};

} // namespace

TEST_F(PreviewPaint, PictureTilesFromTheTopLeftAtItsOwnSize)
{
    const DecodedPicture picture = decoded(bmpBytes(70, 50, kGreen, kRed));
    EXPECT_EQ(std::tuple(picture.size.cx, picture.size.cy), std::tuple(70L, 50L));
    canvas.paint(scene({}, &picture));
    for (int y = 0; y < Canvas::kHeight; y += 50) {
        for (int x = 0; x < Canvas::kWidth; x += 70) {
            EXPECT_EQ(std::tuple(canvas.at(x, y), canvas.at(x + 1, y + 1)), std::tuple(kRed, kGreen))
                << "tile at " << x << ", " << y;
        }
    }
}

// A picture smaller than a tile is repeated whole inside the bitmap the painter copies:
// the pattern runs on across the copies' edges as if each picture were drawn alone.
TEST_F(PreviewPaint, SmallPictureTilesWithoutSeams)
{
    const DecodedPicture picture = decoded(bmpBytes(3, 2, kGreen, kRed));
    EXPECT_EQ(std::tuple(picture.size.cx, picture.size.cy), std::tuple(3L, 2L));
    canvas.paint(scene({}, &picture));
    int misplaced = 0;
    for (int y = 0; y < Canvas::kHeight; ++y) {
        for (int x = 0; x < Canvas::kWidth; ++x)
            misplaced += canvas.at(x, y) != (y % 2 == 1 && x % 3 != 0 ? kGreen : kRed);
    }
    EXPECT_EQ(misplaced, 0);
}

// A PNG and a GIF of two pixels each: opaque red, then fully transparent.
TEST_F(PreviewPaint, TransparentPartsShowTheWindowColour)
{
    const std::string pictures[] = {
        {"\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x02\0\0\0\x01\x08\x06\0\0\0\xF4\x22\x7F\x8A\0\0\0\x0DIDAT\x78"
         "\xDA\x63\xF8\xCF\xC0\0\x46\0\x0E\xFA\x02\xFE\x2A\x40\x5E\xB9\0\0\0\0IEND\xAE\x42\x60\x82",
         70},
        {"GIF89a\x02\0\x01\0\xF0\0\0\xFF\0\0\0\0\0\x21\xF9\x04\x01\0\0\x01\0\x2C\0\0\0\0\x02\0\x01\0\0\x02\x02"
         "\x44\x0A\0\x3B",
         43},
    };
    for (const std::string& bytes : pictures) {
        const DecodedPicture picture = decoded(bytes);
        canvas.paint(scene({}, &picture));
        EXPECT_EQ(std::tuple(canvas.at(0, 0), canvas.at(1, 0)), std::tuple(kRed, GetSysColor(COLOR_WINDOW)))
            << bytes.substr(1, 3);
    }
}

TEST_F(PreviewPaint, WindowColourWithoutPicture)
{
    canvas.paint(scene({}));
    EXPECT_EQ(canvas.count({0, 0, Canvas::kWidth, Canvas::kHeight}, GetSysColor(COLOR_WINDOW)),
              Canvas::kWidth * Canvas::kHeight);
}

// Captions take the text colour when it is ticked, else the window-text colour; their
// box the background colour when it is ticked, else none (the picture shows through).
TEST_F(PreviewPaint, CaptionColoursFollowTheTicks)
{
    const DecodedPicture picture = decoded(bmpBytes(8, 8, kGreen, kGreen));
    look.textColor = kRed;
    look.backColor = kBlue;
    const std::vector<PreviewItem> items = {{L"Отпуск 2003", true}, {L"море.jpg", false}};
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    for (const int textOn : {kUnticked, kTicked}) {
        for (const int backOn : {kUnticked, kTicked}) {
            SCOPED_TRACE(testing::Message() << "text " << textOn << ", background " << backOn);
            look.textColorOn = textOn;
            look.backColorOn = backOn;
            canvas.paint(scene(items, &picture));
            const RECT caption = captionArea(1);
            EXPECT_GT(canvas.count(caption, textOn == kTicked ? kRed : windowText), 10);
            EXPECT_EQ(canvas.count(caption, textOn == kTicked ? windowText : kRed), 0);
            EXPECT_EQ(canvas.count(caption, kBlue) > 20, backOn == kTicked);
            EXPECT_EQ(canvas.count(caption, kGreen) > 100, true) << "the picture around the caption";
        }
    }
}

// Each item's icon is in its own cell of the system's icon spacing; a cell past the
// last item stays empty.
TEST_F(PreviewPaint, IconsSitInTheirGridCells)
{
    canvas.paint(scene({{L"а.txt", false}, {L"б.txt", false}}));
    const int cx = GetSystemMetrics(SM_CXICONSPACING), icon = GetSystemMetrics(SM_CXICON);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    for (int column = 0; column < 3; ++column) {
        const int left = column * cx + (cx - icon) / 2, top = kPreviewMetrics.iconTop;
        const RECT square = {left, top, left + icon, top + icon};
        EXPECT_EQ(canvas.count(square, window) < icon * icon, column < 2) << "cell " << column;
    }
}

// A notice takes a line at the top, over the window colour; the icon area starts below it.
TEST_F(PreviewPaint, NoticeLineOverTheWindowColour)
{
    const DecodedPicture picture = decoded(bmpBytes(8, 8, kGreen, kGreen));
    notice = L"Картинку не удаётся показать: C:\\фото.jpg";
    canvas.paint(scene({}, &picture));
    const PreviewLayout layout =
        previewLayout(WindowDC(nullptr).get(), {0, 0, Canvas::kWidth, Canvas::kHeight}, scene({}));
    const RECT& line = layout.notice;
    EXPECT_GT(line.bottom, 10);
    EXPECT_GT(canvas.count(line, GetSysColor(COLOR_WINDOWTEXT)), 20);
    EXPECT_EQ(canvas.count(line, kGreen), 0);
    EXPECT_EQ(canvas.at(0, line.bottom), kGreen);
}

TEST(PictureDecoder, TellsMissingFromUndecodable)
{
    const TempFolder folder;
    writeFile(folder.at(L"пусто.png"), "not a picture at all");
    DecodedPicture picture;
    EXPECT_EQ(decodePicture(folder.at(L"нет.png"), picture), DecodeResult::Missing);
    EXPECT_EQ(decodePicture(folder.path(), picture), DecodeResult::Missing) << "a folder is no picture";
    EXPECT_EQ(decodePicture(folder.at(L"пусто.png"), picture), DecodeResult::Undecodable);
    EXPECT_FALSE(picture.bitmap);
}

// The dialog's drawing: the whole picture averaged down into the box, in its proportions.
TEST(PictureDecoder, ThumbnailFitsTheBoxInTheProportions)
{
    const TempFolder folder;
    writeFile(folder.at(L"картинка.bmp"), bmpBytes(70, 50, kGreen, kGreen));
    DecodedPicture picture;
    ASSERT_EQ(decodeThumbnail(folder.at(L"картинка.bmp"), {14, 14}, picture), DecodeResult::Decoded);
    BITMAP bitmap = {};
    GetObjectW(picture.bitmap.get(), sizeof bitmap, &bitmap);
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    const SelectedObject selected(dc.get(), picture.bitmap.get());
    EXPECT_EQ(std::tuple(bitmap.bmWidth, std::abs(bitmap.bmHeight), GetPixel(dc.get(), 13, 9), picture.declared.width),
              std::tuple(14L, 10L, kGreen, 70u));
}

// A few bytes that declare 20,000 x 20,000 pixels are refused from the header, before
// the library could allocate 1.5 GiB for them.
TEST(PictureDecoder, RefusesAPictureDeclaredTooLargeBeforeDecoding)
{
    const TempFolder folder;
    writeFile(folder.at(L"огромная.jpg"),
              std::string(
                  "\xFF\xD8\xFF\xC0\x00\x11\x08\x4E\x20\x4E\x20\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01\xFF\xD9", 23));
    // The same behind 70 KiB of metadata: two comment segments before the frame header.
    const std::string comment = "\xFF\xFE\xFF\xFF" + std::string(0xFFFD, 'c');
    writeFile(folder.at(L"за метаданными.jpg"),
              std::string("\xFF\xD8", 2) + comment + comment + std::string(readFile(folder.at(L"огромная.jpg")), 2));
    for (const wchar_t* name : {L"огромная.jpg", L"за метаданными.jpg"}) {
        DecodedPicture picture;
        EXPECT_EQ(decodePicture(folder.at(name), picture), DecodeResult::TooLarge);
        EXPECT_EQ(std::tuple(picture.declared.width, picture.declared.height), std::tuple(20000u, 20000u));
        EXPECT_FALSE(picture.bitmap);
    }
}

// Explorer's order: digits by their value; hidden and system entries left out.
TEST(FolderListing, ExplorerOrderOnRealFiles)
{
    const TempFolder folder;
    for (const wchar_t* name : {L"снимок10.jpg", L"снимок9.jpg", L"Desktop.INI"})
        writeFile(folder.at(name), "");
    makeFolder(folder.at(L"Старое"));
    SetFileAttributesW(folder.at(L"Desktop.INI").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::vector<PreviewItem> items;
    ASSERT_TRUE(listShownItems(folder.path(), items));
    std::vector<std::tuple<std::wstring, bool>> shown;
    for (const PreviewItem& item : items)
        shown.emplace_back(item.name, item.folder);
    EXPECT_EQ(shown,
              (std::vector<std::tuple<std::wstring, bool>> {
                  {L"Старое", true}, {L"снимок9.jpg", false}, {L"снимок10.jpg", false}}));
    EXPECT_FALSE(listShownItems(folder.at(L"нет"), items));
}
