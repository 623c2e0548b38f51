#include "preview/PictureDecoder.h"

#include "support/SystemFunction.h"

#include <algorithm>
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

// The flat API's functions this file uses, looked up once.
struct GdiplusApi {
    int(WINAPI* create)(const WCHAR*,
                        GpBitmap**) = gdiplus<int WINAPI(const WCHAR*, GpBitmap**)>("GdipCreateBitmapFromFile");
    int(WINAPI* dispose)(GpBitmap*) = gdiplus<int WINAPI(GpBitmap*)>("GdipDisposeImage");
    int(WINAPI* width)(GpBitmap*, UINT*) = gdiplus<int WINAPI(GpBitmap*, UINT*)>("GdipGetImageWidth");
    int(WINAPI* height)(GpBitmap*, UINT*) = gdiplus<int WINAPI(GpBitmap*, UINT*)>("GdipGetImageHeight");
    int(WINAPI* format)(GpBitmap*, INT*) = gdiplus<int WINAPI(GpBitmap*, INT*)>("GdipGetImagePixelFormat");
    int(WINAPI* lock)(GpBitmap*, const LockRect*, UINT, INT, BitmapData*) =
        gdiplus<int WINAPI(GpBitmap*, const LockRect*, UINT, INT, BitmapData*)>("GdipBitmapLockBits");
    int(WINAPI* unlock)(GpBitmap*, BitmapData*) = gdiplus<int WINAPI(GpBitmap*, BitmapData*)>("GdipBitmapUnlockBits");

    bool complete() const { return create && dispose && width && height && format && lock && unlock; }
};

const GdiplusApi& api()
{
    static const GdiplusApi functions;
    return functions;
}

// Owns a GDI+ bitmap, so that every way out disposes of it.
class GdiplusBitmap {
public:
    GdiplusBitmap() = default;
    GdiplusBitmap(const GdiplusBitmap&) = delete;
    GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;
    ~GdiplusBitmap()
    {
        if (bitmap_)
            api().dispose(bitmap_);
    }
    bool open(const std::wstring& path)
    {
        if (api().create(path.c_str(), &bitmap_) != kOk)
            bitmap_ = nullptr;
        return bitmap_ != nullptr;
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

// A picture GDI+ holds open, with its size and pixel format.
struct OpenedPicture {
    GdiplusBitmap source;
    SIZE size = {};
    INT format = 0;
    // Pixels with alpha or from a palette are laid over the window colour, as the shell does.
    bool overWindow() const { return (format & (kFormatHasAlpha | kFormatIndexed)) != 0; }
};

// Opens the picture in GDI+ once the size its file declares has passed the limit: the
// size is known before the library allocates anything for it, since a few bytes can
// declare a picture of gigabytes and Wine's library decodes a whole picture when it
// opens the file. A JPEG is read further for its frame header; a file of the four
// formats whose size cannot be told is not decoded. Another format is asked of the
// library, before any pixels are asked for. Decoded when opened holds the picture.
DecodeResult openPicture(const std::wstring& path, OpenedPicture& opened, DecodedPicture& picture)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes & FILE_ATTRIBUTE_DIRECTORY)
        return DecodeResult::Missing;
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
    header = {};
    UINT cx = 0, cy = 0;
    GdiplusBitmap& source = opened.source;
    if (!gdiplusStarted() || !api().complete() || !source.open(path) || api().width(source.get(), &cx) != kOk
        || api().height(source.get(), &cy) != kOk || api().format(source.get(), &opened.format) != kOk || cx == 0
        || cy == 0)
        return DecodeResult::Undecodable;
    picture.declared = {cx, cy};
    if (tooLarge({cx, cy}))
        return DecodeResult::TooLarge;
    opened.size = {static_cast<LONG>(cx), static_cast<LONG>(cy)};
    return DecodeResult::Decoded;
}

// A 32-bit top-down DIB section of the size; bits points at its pixels.
BitmapHandle topDownSection(SIZE size, void*& bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // top-down, as GDI+ hands the rows over
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return BitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

// Asks GDI+ for rows [top, top + rows) of the picture, 32-bit, into pixels (stride bytes a row).
bool copyRows(const GdiplusBitmap& source, SIZE size, LONG top, LONG rows, void* pixels, LONG stride)
{
    const LockRect band = {0, top, size.cx, rows};
    BitmapData data = {
        static_cast<UINT>(size.cx), static_cast<UINT>(rows), static_cast<INT>(stride), kFormat32bppArgb, pixels, 0};
    if (api().lock(source.get(), &band, kLockRead | kLockIntoOwnBuffer, kFormat32bppArgb, &data) != kOk)
        return false;
    api().unlock(source.get(), &data);
    return true;
}

// The largest size of the picture's proportions within box, and within the picture.
SIZE fittedSize(SIZE picture, SIZE box)
{
    SIZE size = {std::min(box.cx, picture.cx), MulDiv(std::min(box.cx, picture.cx), picture.cy, picture.cx)};
    if (size.cy > box.cy)
        size = {MulDiv(box.cy, picture.cx, picture.cy), box.cy};
    return {std::max(size.cx, 1L), std::max(size.cy, 1L)};
}

// A band of rows for averaging a picture down: a few MiB, at least one row.
constexpr std::size_t kBandBytes = 4 << 20;

} // namespace

DecodeResult decodePicture(const std::wstring& path, DecodedPicture& picture)
{
    OpenedPicture opened;
    if (const DecodeResult result = openPicture(path, opened, picture); result != DecodeResult::Decoded)
        return result;
    const SIZE size = opened.size;
    const SIZE tile = {tileSide(size.cx), tileSide(size.cy)};
    void* bits = nullptr;
    BitmapHandle bitmap = topDownSection(tile, bits);
    // The library writes straight into the section's top-left; what it decoded on its
    // own goes when opened is disposed, on return, so the program holds the pixels once.
    if (!bitmap || !copyRows(opened.source, size, 0, size.cy, bits, tile.cx * 4))
        return DecodeResult::Undecodable;
    repeatPicture(static_cast<std::uint8_t*>(bits), size, tile);
    if (opened.overWindow())
        overWindowColor(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(tile.cx) * tile.cy);
    picture.bitmap = std::move(bitmap);
    picture.size = size;
    picture.tile = tile;
    return DecodeResult::Decoded;
}

DecodeResult decodeThumbnail(const std::wstring& path, SIZE box, DecodedPicture& picture)
{
    OpenedPicture opened;
    if (const DecodeResult result = openPicture(path, opened, picture); result != DecodeResult::Decoded)
        return result;
    const SIZE size = opened.size;
    const SIZE small = fittedSize(size, box);
    // Each small pixel is the mean of the picture's pixels that fall on it: four sums
    // and a count per pixel, filled a band of rows at a time.
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(small.cx) * small.cy * 5);
    const std::size_t row = static_cast<std::size_t>(size.cx) * 4;
    const LONG bandRows = static_cast<LONG>(std::max<std::size_t>(1, kBandBytes / row));
    std::vector<std::uint8_t> band(row * static_cast<std::size_t>(std::min(bandRows, size.cy)));
    for (LONG top = 0; top < size.cy; top += bandRows) {
        const LONG rows = std::min(bandRows, size.cy - top);
        if (!copyRows(opened.source, size, top, rows, band.data(), static_cast<LONG>(row)))
            return DecodeResult::Undecodable;
        if (opened.overWindow())
            overWindowColor(band.data(), static_cast<std::size_t>(size.cx) * rows);
        for (LONG y = 0; y < rows; ++y) {
            const std::size_t target = static_cast<std::size_t>(top + y) * small.cy / size.cy * small.cx;
            const std::uint8_t* pixel = band.data() + y * row;
            for (LONG x = 0; x < size.cx; ++x, pixel += 4) {
                std::uint64_t* sum = &sums[(target + static_cast<std::size_t>(x) * small.cx / size.cx) * 5];
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += pixel[channel];
                ++sum[4];
            }
        }
    }
    void* bits = nullptr;
    BitmapHandle bitmap = topDownSection(small, bits);
    if (!bitmap)
        return DecodeResult::Undecodable;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i < sums.size(); i += 5) {
        for (int channel = 0; channel < 4; ++channel)
            *out++ = static_cast<std::uint8_t>(sums[i + 4] ? sums[i + channel] / sums[i + 4] : 0);
    }
    picture.bitmap = std::move(bitmap);
    picture.size = small;
    picture.tile = small;
    return DecodeResult::Decoded;
}
