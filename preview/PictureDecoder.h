#pragma once
#include "preview/PictureHeader.h"
#include "support/Handles.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The most pixels the preview decodes: 24 megapixels (6,144 x 4,096), whose 32-bit
// bitmap is 96 MiB. While GDI+ holds a picture open it keeps up to two copies of its
// own (Wine's keeps the codec's and its bitmap's), up to 8 bytes a pixel beside the 4
// of ours: the preview and the dialog together stay within 400 MB at this size.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t {24} << 20;

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

// The same picture whole and small: averaged down, a band of rows at a time, into the
// largest bitmap of its proportions that fits box (never larger than the picture), so
// that no full-size bitmap of ours is ever made. size and tile are the small bitmap's;
// declared is the picture's own.
DecodeResult decodeThumbnail(const std::wstring& path, SIZE box, DecodedPicture& picture);
