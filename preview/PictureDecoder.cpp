#include "preview/PictureDecoder.h"

#include "support/SystemFunction.h"

#include <cstdint>
#include <utility>

namespace {

// The few declarations of GDI+'s flat API used here, as gdiplus.dll has exported them
// since Windows XP; its C++ headers are not needed for so little.
struct StartupInput {
    UINT32 version = 1;
    void* debugCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};
struct LockRect {
    INT x, y, width, height;
};
struct BitmapData {
    UINT width, height;
    INT stride;
    INT format;
    void* scan0;
    UINT_PTR reserved;
};
using GpBitmap = void;
constexpr int kOk = 0;
constexpr INT kFormat32bppArgb = 0x0026200A;
constexpr INT kFormatIndexed = 0x00010000; // a GIF's transparent colour is one of its entries
constexpr INT kFormatHasAlpha = 0x00040000;
constexpr UINT kLockRead = 1;
constexpr UINT kLockIntoOwnBuffer = 4;

template <typename Function> Function* gdiplus(const char* name)
{
    return systemFunction<Function>(L"gdiplus.dll", name);
}

// GDI+ is started once, on the first picture, and stays for the rest of the run.
bool gdiplusStarted()
{
    static const bool started = [] {
        const auto startup = gdiplus<int WINAPI(ULONG_PTR*, const StartupInput*, void*)>("GdiplusStartup");
        ULONG_PTR token = 0;
        const StartupInput input;
        return startup && startup(&token, &input, nullptr) == kOk;
    }();
    return started;
}

// Owns a GDI+ bitmap, so that every way out disposes of it.
class GdiplusBitmap {
public:
    explicit GdiplusBitmap(const std::wstring& path)
    {
        const auto create = gdiplus<int WINAPI(const WCHAR*, GpBitmap**)>("GdipCreateBitmapFromFile");
        if (create && create(path.c_str(), &bitmap_) != kOk)
            bitmap_ = nullptr;
    }
    GdiplusBitmap(const GdiplusBitmap&) = delete;
    GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;
    ~GdiplusBitmap()
    {
        if (const auto dispose = gdiplus<int WINAPI(GpBitmap*)>("GdipDisposeImage"); bitmap_ && dispose)
            dispose(bitmap_);
    }
    GpBitmap* get() const { return bitmap_; }

private:
    GpBitmap* bitmap_ = nullptr;
};

// Lays each pixel over the window colour by its own opacity, and makes it opaque.
void overWindowColor(std::uint8_t* pixels, std::size_t count)
{
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const unsigned under[3] = {GetBValue(window), GetGValue(window), GetRValue(window)};
    for (std::uint8_t* pixel = pixels; pixel != pixels + count * 4; pixel += 4) {
        const unsigned alpha = pixel[3];
        for (int channel = 0; channel < 3; ++channel)
            pixel[channel] = static_cast<std::uint8_t>((pixel[channel] * alpha + under[channel] * (255 - alpha)) / 255);
        pixel[3] = 255;
    }
}

} // namespace

DecodeResult decodePicture(const std::wstring& path, DecodedPicture& picture)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes & FILE_ATTRIBUTE_DIRECTORY)
        return DecodeResult::Missing;
    const auto width = gdiplus<int WINAPI(GpBitmap*, UINT*)>("GdipGetImageWidth");
    const auto height = gdiplus<int WINAPI(GpBitmap*, UINT*)>("GdipGetImageHeight");
    const auto format = gdiplus<int WINAPI(GpBitmap*, INT*)>("GdipGetImagePixelFormat");
    const auto lock = gdiplus<int WINAPI(GpBitmap*, const LockRect*, UINT, INT, BitmapData*)>("GdipBitmapLockBits");
    const auto unlock = gdiplus<int WINAPI(GpBitmap*, BitmapData*)>("GdipBitmapUnlockBits");
    if (!gdiplusStarted() || !width || !height || !format || !lock || !unlock)
        return DecodeResult::Undecodable;
    const GdiplusBitmap source(path);
    UINT cx = 0, cy = 0;
    INT sourceFormat = 0;
    if (!source.get() || width(source.get(), &cx) != kOk || height(source.get(), &cy) != kOk
        || format(source.get(), &sourceFormat) != kOk || cx == 0 || cy == 0 || cx > 0x7FFF || cy > 0x7FFF)
        return DecodeResult::Undecodable;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(cx);
    info.bmiHeader.biHeight = -static_cast<LONG>(cy); // top-down, as GDI+ hands the rows over
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return DecodeResult::Undecodable;
    // The library writes straight into the section; what it decoded on its own goes when
    // source is disposed, on return, so the program holds the pixels once.
    const LockRect whole = {0, 0, static_cast<INT>(cx), static_cast<INT>(cy)};
    BitmapData data = {cx, cy, static_cast<INT>(cx * 4), kFormat32bppArgb, bits, 0};
    if (lock(source.get(), &whole, kLockRead | kLockIntoOwnBuffer, kFormat32bppArgb, &data) != kOk)
        return DecodeResult::Undecodable;
    unlock(source.get(), &data);
    if (sourceFormat & (kFormatHasAlpha | kFormatIndexed))
        overWindowColor(static_cast<std::uint8_t*>(bits), std::size_t {cx} * cy);
    picture.bitmap = std::move(bitmap);
    picture.size = {static_cast<LONG>(cx), static_cast<LONG>(cy)};
    return DecodeResult::Decoded;
}
