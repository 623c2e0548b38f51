#include "preview/PictureDecoder.h"

#include "support/SystemFunction.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

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

// GDI+ is started once, on the first picture, and stays for the rest of the run. The
// first pictures may be decoded on two threads at once: the static's initialisation is
// thread-safe, so only one of them starts the library.
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

bool tooLarge(const DeclaredSize& size)
{
    return std::uint64_t {size.width} * size.height > kMaxPicturePixels;
}

// A JPEG's metadata may put its frame header past the first bytes read; this many are
// read to find it, and a JPEG whose frame header lies further is not decoded.
constexpr std::size_t kJpegMetadataBytes = 16 << 20;

// The file's first bytes, where its header declares the size. Empty when it cannot be read.
std::vector<std::uint8_t> headerBytes(const std::wstring& path, std::size_t count)
{
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    std::vector<std::uint8_t> bytes(count);
    DWORD read = 0;
    if (!file || !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    bytes.resize(read);
    return bytes;
}

// The side of a tile of whole copies of a picture's side, at least kMinTileSide.
LONG tileSide(LONG side)
{
    return side >= kMinTileSide ? side : (kMinTileSide + side - 1) / side * side;
}

// Copies the picture at the top-left of the tile (stride: the tile's row) to the rest
// of the tile: first along its rows, then those rows down the tile.
void repeatPicture(std::uint8_t* tile, SIZE picture, SIZE whole)
{
    const std::size_t row = static_cast<std::size_t>(picture.cx) * 4, stride = static_cast<std::size_t>(whole.cx) * 4;
    for (LONG y = 0; y < picture.cy; ++y) {
        std::uint8_t* line = tile + y * stride;
        for (std::size_t x = row; x < stride; x += row)
            std::memcpy(line + x, line, row);
    }
    for (LONG y = picture.cy; y < whole.cy; ++y)
        std::memcpy(tile + y * stride, tile + (y - picture.cy) * stride, stride);
}

} // namespace

DecodeResult decodePicture(const std::wstring& path, DecodedPicture& picture)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes & FILE_ATTRIBUTE_DIRECTORY)
        return DecodeResult::Missing;
    // The size is known before the library allocates anything for it: a few bytes can
    // declare a picture of gigabytes, and Wine's library decodes a whole picture when it
    // opens the file. A JPEG is read further for its frame header; a file of the four
    // formats whose size cannot be told is not decoded. Another format is asked of the
    // library below, before any pixels are asked for.
    std::vector<std::uint8_t> header = headerBytes(path, kPictureHeaderBytes);
    auto declared = declaredSize(header.data(), header.size());
    if (!declared && header.size() == kPictureHeaderBytes && header[0] == 0xFF && header[1] == 0xD8) {
        header = headerBytes(path, kJpegMetadataBytes);
        declared = declaredSize(header.data(), header.size());
    }
    if (!declared && hasSizeInHeader(header.data(), header.size()))
        return DecodeResult::Undecodable;
    if (declared && tooLarge(*declared)) {
        picture.declared = *declared;
        return DecodeResult::TooLarge;
    }
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
        || format(source.get(), &sourceFormat) != kOk || cx == 0 || cy == 0)
        return DecodeResult::Undecodable;
    if (tooLarge({cx, cy})) {
        picture.declared = {cx, cy};
        return DecodeResult::TooLarge;
    }

    const SIZE size = {static_cast<LONG>(cx), static_cast<LONG>(cy)};
    const SIZE tile = {tileSide(size.cx), tileSide(size.cy)};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = tile.cx;
    info.bmiHeader.biHeight = -tile.cy; // top-down, as GDI+ hands the rows over
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return DecodeResult::Undecodable;
    // The library writes straight into the section's top-left; what it decoded on its
    // own goes when source is disposed, on return, so the program holds the pixels once.
    const LockRect whole = {0, 0, size.cx, size.cy};
    BitmapData data = {cx, cy, static_cast<INT>(tile.cx * 4), kFormat32bppArgb, bits, 0};
    if (lock(source.get(), &whole, kLockRead | kLockIntoOwnBuffer, kFormat32bppArgb, &data) != kOk)
        return DecodeResult::Undecodable;
    unlock(source.get(), &data);
    repeatPicture(static_cast<std::uint8_t*>(bits), size, tile);
    if (sourceFormat & (kFormatHasAlpha | kFormatIndexed))
        overWindowColor(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(tile.cx) * tile.cy);
    picture.bitmap = std::move(bitmap);
    picture.size = size;
    picture.tile = tile;
    picture.declared = {cx, cy};
    return DecodeResult::Decoded;
}
