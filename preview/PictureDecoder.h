#pragma once
#include "support/Handles.h"

#include <windows.h>

#include <string>

// A picture decoded into a 32-bit top-down DIB section: the one copy of its pixels the
// program keeps.
struct DecodedPicture {
    BitmapHandle bitmap;
    SIZE size = {};
};

enum class DecodeResult { Decoded, Missing, Undecodable };

// Decodes a BMP (RLE too), GIF, JPEG or PNG file with GDI+, which Windows XP has and
// which is loaded on first use. Transparent parts are laid over the window colour, as
// the picture will only ever be seen over it. The library's own copy of the pixels is
// gone when this returns.
DecodeResult decodePicture(const std::wstring& path, DecodedPicture& picture);
