#pragma once
#include "preview/PictureHeader.h"
#include "support/Handles.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The most pixels the preview decodes: 64 megapixels, whose 32-bit bitmap is 256 MiB.
// A larger picture would cost seconds and, in a 32-bit process, the address space the
// rest of the run needs.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t {64} << 20;

// A picture smaller than this on a side is repeated to at least this size in its
// bitmap, so that tiling a window takes a few hundred copies whatever the picture.
inline constexpr LONG kMinTileSide = 64;

// A picture decoded into a 32-bit top-down DIB section: the one copy of its pixels the
// program keeps, repeated side by side when the picture is small.
struct DecodedPicture {
    BitmapHandle bitmap;
    SIZE size = {}; // the picture's own
    SIZE tile = {}; // the bitmap's: whole copies of the picture
    DeclaredSize declared; // what the file declares, also when that is too large to decode
};

enum class DecodeResult { Decoded, Missing, Undecodable, TooLarge };

// Decodes a BMP (RLE too), GIF, JPEG or PNG file with GDI+, which Windows XP has and
// which is loaded on first use. The size the file declares is read from its header
// first: a picture over kMaxPicturePixels is not decoded (TooLarge). Transparent parts
// are laid over the window colour, as the picture will only ever be seen over it. The
// library's own copy of the pixels is gone when this returns. Any thread may call it.
DecodeResult decodePicture(const std::wstring& path, DecodedPicture& picture);
