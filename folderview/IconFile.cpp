#include "folderview/IconFile.h"

#include "support/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace {

// Little-endian and big-endian numbers at offset; the caller has checked the bounds.
unsigned word(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
std::uint32_t dword(std::string_view bytes, std::size_t at)
{
    return word(bytes, at) | static_cast<std::uint32_t>(word(bytes, at + 2)) << 16;
}
std::uint32_t bigEndian(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
void putWord(std::string& bytes, unsigned value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8 & 0xFF);
}
void putDword(std::string& bytes, std::uint32_t value)
{
    putWord(bytes, value & 0xFFFF);
    putWord(bytes, value >> 16);
}

constexpr std::size_t kDirectoryBytes = 6; // reserved, type (1: icon), count
constexpr std::size_t kFileEntryBytes = 16; // .ico: ... size, offset in the file
constexpr std::size_t kGroupEntryBytes = 14; // group resource: ... size, the image's id
constexpr std::string_view kPngSignature("\x89PNG\r\n\x1A\n", 8);

// Whether the directory's first bytes are an icon's with a count of images in reason.
IconRead checkDirectory(std::string_view bytes, std::size_t entryBytes, unsigned& count)
{
    if (bytes.size() < kDirectoryBytes || word(bytes, 0) != 0 || word(bytes, 2) != 1)
        return IconRead::Unreadable;
    count = word(bytes, 4);
    if (count == 0)
        return IconRead::Unreadable;
    if (count > kMaxIconImages)
        return IconRead::TooLarge;
    return bytes.size() < kDirectoryBytes + count * entryBytes ? IconRead::Unreadable : IconRead::Read;
}

// A PNG's size from its header chunk, which must come first.
IconRead checkPng(std::string_view image, IconImage& found)
{
    if (image.size() < 8 + 8 + 13 || bigEndian(image, 8) != 13 || image.substr(12, 4) != "IHDR")
        return IconRead::Unreadable;
    const std::uint32_t width = bigEndian(image, 16), height = bigEndian(image, 20);
    if (width == 0 || height == 0)
        return IconRead::Unreadable;
    if (width > kMaxIconSide || height > kMaxIconSide)
        return IconRead::TooLarge;
    found.width = width;
    found.height = height;
    found.bitCount = 32;
    found.png = true;
    return IconRead::Read;
}

// A bitmap image: its header, colour table, colour pixels and mask, which has the
// height counted twice, must all lie within its bytes.
IconRead checkBitmap(std::string_view image, IconImage& found)
{
    if (image.size() < sizeof(BITMAPINFOHEADER))
        return IconRead::Unreadable;
    const std::uint32_t headerBytes = dword(image, 0);
    const auto width = static_cast<std::int32_t>(dword(image, 4)), height = static_cast<std::int32_t>(dword(image, 8));
    const unsigned planes = word(image, 12), bits = word(image, 14);
    const std::uint32_t compression = dword(image, 16), colorsUsed = dword(image, 32);
    if (headerBytes < sizeof(BITMAPINFOHEADER) || headerBytes > image.size() || width <= 0 || height < 2)
        return IconRead::Unreadable;
    if (static_cast<std::uint32_t>(width) > kMaxIconSide || static_cast<std::uint32_t>(height) / 2 > kMaxIconSide)
        return IconRead::TooLarge;
    constexpr unsigned kBitCounts[] = {1, 4, 8, 16, 24, 32};
    if (planes != 1 || std::find(std::begin(kBitCounts), std::end(kBitCounts), bits) == std::end(kBitCounts)
        || compression != BI_RGB || colorsUsed > 256 || (bits <= 8 && colorsUsed > (1u << bits)))
        return IconRead::Unreadable;
    const std::uint64_t colors = colorsUsed != 0 ? colorsUsed : bits <= 8 ? 1u << bits : 0;
    const std::uint64_t rows = static_cast<std::uint32_t>(height) / 2;
    const std::uint64_t colorRow = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t maskRow = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    if (headerBytes + colors * 4 + (colorRow + maskRow) * rows > image.size())
        return IconRead::Unreadable;
    found.width = static_cast<unsigned>(width);
    found.height = static_cast<unsigned>(rows);
    found.bitCount = bits;
    found.png = false;
    return IconRead::Read;
}

IconRead checkImage(std::string_view image, IconImage& found)
{
    return image.substr(0, kPngSignature.size()) == kPngSignature ? checkPng(image, found) : checkBitmap(image, found);
}

// Of several reasons the images give, the one to tell: a too large image, since the
// file may well be a real icon of a newer kind.
IconRead worse(IconRead a, IconRead b)
{
    return a == IconRead::TooLarge || b == IconRead::TooLarge ? IconRead::TooLarge : std::max(a, b);
}

} // namespace

IconRead iconImages(std::string_view ico, std::vector<IconImage>& images)
{
    images.clear();
    if (ico.size() > kMaxIconBytes)
        return IconRead::TooLarge;
    unsigned count = 0;
    if (const IconRead directory = checkDirectory(ico, kFileEntryBytes, count); directory != IconRead::Read)
        return directory;
    const std::size_t imagesStart = kDirectoryBytes + count * kFileEntryBytes;
    IconRead result = IconRead::Read;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryBytes + i * kFileEntryBytes;
        IconImage image;
        image.size = dword(ico, entry + 8);
        image.offset = dword(ico, entry + 12);
        if (image.offset < imagesStart || image.offset > ico.size() || image.size > ico.size() - image.offset)
            return IconRead::Unreadable;
        result = worse(result, checkImage(ico.substr(image.offset, image.size), image));
        images.push_back(image);
    }
    if (result != IconRead::Read)
        images.clear();
    return result;
}

IconRead iconFromGroup(std::string_view group,
                       const std::function<std::optional<std::string_view>(unsigned id)>& imageById, std::string& ico)
{
    ico.clear();
    unsigned count = 0;
    if (const IconRead directory = checkDirectory(group, kGroupEntryBytes, count); directory != IconRead::Read)
        return directory;
    std::vector<std::string_view> images;
    std::size_t total = kDirectoryBytes + count * kFileEntryBytes;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryBytes + i * kGroupEntryBytes;
        const std::optional<std::string_view> image = imageById(word(group, entry + 12));
        if (!image || image->size() < dword(group, entry + 8))
            return IconRead::Unreadable;
        total += image->size();
        if (total > kMaxIconBytes)
            return IconRead::TooLarge;
        images.push_back(*image);
    }
    // The entries keep the group's fields before the size; the size is the image's own
    // and the id becomes where the image lies in the file.
    ico.assign(group.substr(0, kDirectoryBytes));
    std::size_t offset = kDirectoryBytes + count * kFileEntryBytes;
    for (unsigned i = 0; i < count; ++i) {
        ico.append(group.substr(kDirectoryBytes + i * kGroupEntryBytes, 8));
        putDword(ico, static_cast<std::uint32_t>(images[i].size()));
        putDword(ico, static_cast<std::uint32_t>(offset));
        offset += images[i].size();
    }
    for (const std::string_view image : images)
        ico.append(image);
    std::vector<IconImage> checked;
    const IconRead result = iconImages(ico, checked);
    if (result != IconRead::Read)
        ico.clear();
    return result;
}

std::optional<IconImage> bestImage(const std::vector<IconImage>& images, unsigned size)
{
    // Smaller ranks better.
    const auto rank = [size](const IconImage& image) {
        const unsigned side = std::max(image.width, image.height);
        const unsigned fit = side == size ? 0 : side > size ? 1 : 2;
        return std::tuple(image.png, fit, fit == 2 ? kMaxIconSide - side : side, 32 - image.bitCount);
    };
    const auto best = std::min_element(images.begin(), images.end(),
                                       [&rank](const IconImage& a, const IconImage& b) { return rank(a) < rank(b); });
    return best == images.end() ? std::nullopt : std::optional(*best);
}

namespace {

IconRead readFailure(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? IconRead::Missing : IconRead::Unreadable;
}

// The end of the memory the module is mapped into: the system finds a resource through
// the module's own tables, which a crafted file may point past its end.
const char* mappedEnd(const char* start)
{
    MEMORY_BASIC_INFORMATION region = {};
    if (!VirtualQuery(start, &region, sizeof(region)))
        return start;
    const void* base = region.AllocationBase;
    const char* end = static_cast<const char*>(base);
    while (VirtualQuery(end, &region, sizeof(region)) && region.AllocationBase == base && region.State == MEM_COMMIT)
        end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    return end;
}

std::optional<std::string_view> resourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    const HRSRC found = FindResourceW(module, name, type);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return std::nullopt;
    const DWORD size = SizeofResource(module, found);
    const char* end = mappedEnd(bytes);
    if (size > kMaxIconBytes || end < bytes || static_cast<std::size_t>(end - bytes) < size)
        return std::nullopt;
    return std::string_view(bytes, size);
}

// The name of the group at position index in the system's order: a number or a text.
struct GroupSearch {
    int left;
    std::wstring name;
    WORD id = 0;
};

BOOL CALLBACK takeGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context)
{
    auto& search = *reinterpret_cast<GroupSearch*>(context);
    if (search.left-- > 0)
        return TRUE;
    if (IS_INTRESOURCE(name))
        search.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else
        search.name = name;
    return FALSE;
}

IconRead readModuleIcon(const std::wstring& path, int index, std::string& ico)
{
    const ModuleHandle module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return readFailure(GetLastError());
    GroupSearch search {.left = index, .name = {}};
    if (index < 0) {
        if (index < -0xFFFF)
            return IconRead::Unreadable;
        search.id = static_cast<WORD>(-index);
    } else {
        EnumResourceNamesW(module.get(), RT_GROUP_ICON, takeGroup, reinterpret_cast<LONG_PTR>(&search));
    }
    const wchar_t* name = search.id != 0 ? MAKEINTRESOURCEW(search.id) : search.name.c_str();
    if (search.id == 0 && search.name.empty())
        return IconRead::Unreadable;
    const std::optional<std::string_view> group = resourceBytes(module.get(), name, RT_GROUP_ICON);
    if (!group)
        return IconRead::Unreadable;
    return iconFromGroup(
        *group, [&module](unsigned id) { return resourceBytes(module.get(), MAKEINTRESOURCEW(id), RT_ICON); }, ico);
}

} // namespace

IconRead readIconFile(const std::wstring& path, int index, std::string& ico)
{
    ico.clear();
    // A whole path: the system looks for a module named otherwise along its search path.
    std::wstring whole(MAX_PATH, L'\0');
    whole.resize(GetFullPathNameW(path.c_str(), static_cast<DWORD>(whole.size()), whole.data(), nullptr));
    if (whole.empty() || whole.size() >= MAX_PATH)
        return IconRead::Unreadable;
    const FileHandle file(CreateFileW(whole.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return readFailure(GetLastError());
    char start[2] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), start, sizeof(start), &read, nullptr))
        return IconRead::Unreadable;
    // A program or library starts as every one since MS-DOS.
    if (read == 2 && start[0] == 'M' && start[1] == 'Z')
        return readModuleIcon(whole, index, ico);
    if (index != 0)
        return IconRead::Unreadable;
    if (size.QuadPart > static_cast<LONGLONG>(kMaxIconBytes))
        return IconRead::TooLarge;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    bytes.replace(0, read, start, read);
    std::size_t have = read;
    while (have < bytes.size()) {
        if (!ReadFile(file.get(), bytes.data() + have, static_cast<DWORD>(bytes.size() - have), &read, nullptr))
            return IconRead::Unreadable;
        if (read == 0)
            break;
        have += read;
    }
    bytes.resize(have);
    std::vector<IconImage> images;
    const IconRead result = iconImages(bytes, images);
    if (result == IconRead::Read)
        ico = std::move(bytes);
    return result;
}
