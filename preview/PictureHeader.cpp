#include "preview/PictureHeader.h"

#include <cstring>

namespace {

std::uint32_t littleEndian(const std::uint8_t* at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

std::uint32_t bigEndian(const std::uint8_t* at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | at[i];
    return value;
}

bool startsWith(const std::uint8_t* bytes, std::size_t count, const char* signature, std::size_t length)
{
    return count >= length && std::memcmp(bytes, signature, length) == 0;
}

// A bottom-up bitmap has a positive height, a top-down one a negative height: either
// way the rows to allocate are its magnitude.
std::uint32_t magnitude(std::uint32_t twosComplement)
{
    return twosComplement & 0x80000000u ? 0u - twosComplement : twosComplement;
}

std::optional<DeclaredSize> bmpSize(const std::uint8_t* bytes, std::size_t count)
{
    if (count < 18)
        return {};
    if (littleEndian(bytes + 14, 4) == 12) { // the OS/2 header: 16-bit sizes
        if (count < 22)
            return {};
        return DeclaredSize {littleEndian(bytes + 18, 2), littleEndian(bytes + 20, 2)};
    }
    if (count < 26)
        return {};
    return DeclaredSize {magnitude(littleEndian(bytes + 18, 4)), magnitude(littleEndian(bytes + 22, 4))};
}

// Frames start with a marker whose low bits tell the coding; C4 (Huffman tables), C8
// (reserved) and CC (arithmetic conditioning) share the range but declare no size.
bool isFrameMarker(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments from the start-of-image marker to the first frame header.
std::optional<DeclaredSize> jpegSize(const std::uint8_t* bytes, std::size_t count)
{
    std::size_t at = 2;
    while (at < count) {
        if (bytes[at] != 0xFF)
            return {};
        while (at < count && bytes[at] == 0xFF) // fill bytes may pad a marker
            ++at;
        if (at == count)
            return {};
        const std::uint8_t marker = bytes[at++];
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) // markers without a segment
            continue;
        if (marker == 0xD9 || marker == 0xDA || count - at < 2) // image end or scan data before a frame
            return {};
        const std::uint32_t length = bigEndian(bytes + at, 2);
        if (length < 2)
            return {};
        if (isFrameMarker(marker)) {
            if (length < 7 || count - at < 7)
                return {};
            return DeclaredSize {bigEndian(bytes + at + 5, 2), bigEndian(bytes + at + 3, 2)};
        }
        at += length;
    }
    return {};
}

} // namespace

std::optional<DeclaredSize> declaredSize(const std::uint8_t* bytes, std::size_t count)
{
    if (startsWith(bytes, count, "BM", 2))
        return bmpSize(bytes, count);
    if (startsWith(bytes, count, "GIF87a", 6) || startsWith(bytes, count, "GIF89a", 6)) {
        if (count < 10)
            return {};
        return DeclaredSize {littleEndian(bytes + 6, 2), littleEndian(bytes + 8, 2)};
    }
    if (startsWith(bytes, count, "\x89PNG\r\n\x1A\n", 8)) {
        if (count < 24 || std::memcmp(bytes + 12, "IHDR", 4) != 0)
            return {};
        return DeclaredSize {bigEndian(bytes + 16, 4), bigEndian(bytes + 20, 4)};
    }
    if (startsWith(bytes, count, "\xFF\xD8", 2))
        return jpegSize(bytes, count);
    return {};
}

bool hasSizeInHeader(const std::uint8_t* bytes, std::size_t count)
{
    return startsWith(bytes, count, "BM", 2) || startsWith(bytes, count, "GIF8", 4)
        || startsWith(bytes, count, "\x89PNG", 4) || startsWith(bytes, count, "\xFF\xD8", 2);
}
