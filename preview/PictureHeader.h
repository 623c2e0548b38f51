#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

// The width and height a picture file declares.
struct DeclaredSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    bool operator==(const DeclaredSize&) const = default;
};

// How many bytes of a file's start declaredSize looks at: enough for a JPEG's frame
// header behind the usual metadata, little enough to read before anything else.
inline constexpr std::size_t kPictureHeaderBytes = 64 * 1024;

// The size a BMP, GIF, PNG or JPEG file declares in its first bytes, before any
// decoding: what the decoder would allocate, however few bytes follow. None for another
// format, or when the header is cut short or broken before the size. Reads only within
// bytes[0, count).
std::optional<DeclaredSize> declaredSize(const std::uint8_t* bytes, std::size_t count);

// Whether the bytes start as a BMP, GIF, PNG or JPEG file does: a format whose header
// declares its size.
bool hasSizeInHeader(const std::uint8_t* bytes, std::size_t count);
