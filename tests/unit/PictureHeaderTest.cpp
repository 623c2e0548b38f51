#include "preview/PictureHeader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace {

std::optional<DeclaredSize> sizeOf(const std::string& bytes)
{
    return declaredSize(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// A JPEG's start, an APP0 segment of 16 bytes and a fill byte before the next marker.
const std::string kJpegStart =
    std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF", 21);
// A frame header of 20,000 x 30,000 (height first), 8-bit, three components.
const std::string kFrame = std::string("\xFF\xC2\x00\x11\x08\x4E\x20\x75\x30\x03", 10);

} // namespace

// The size each format declares, read from the bytes alone: whatever follows, and
// nothing when the header is cut short, broken or of another format.
TEST(PictureHeader, DeclaredSizeOfEachFormat)
{
    using namespace std::string_literals;
    const std::tuple<const char*, std::string, std::optional<DeclaredSize>> cases[] = {
        {"BMP, top-down", "BM"s + std::string(12, '\0') + "\x28\0\0\0\x46\0\0\0\xCE\xFF\xFF\xFF"s,
         DeclaredSize {70, 50}},
        {"BMP, 16-bit sizes", "BM"s + std::string(12, '\0') + "\x0C\0\0\0\x20\x4E\x01\0"s, DeclaredSize {20000, 1}},
        {"BMP, cut short", "BM"s + std::string(12, '\0') + "\x28\0\0\0\x46\0"s, std::nullopt},
        {"GIF", "GIF89a\x20\x4E\x20\x4E"s, DeclaredSize {20000, 20000}},
        {"GIF, cut short", "GIF87a\x20\x4E\x20"s, std::nullopt},
        {"PNG", "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\x00\x01\x86\xA0\0\0\0\x03"s, DeclaredSize {100000, 3}},
        {"PNG, no header chunk first", "\x89PNG\r\n\x1A\n\0\0\0\x0DIDAT\x00\x01\x86\xA0\0\0\0\x03"s, std::nullopt},
        {"JPEG, after a segment and fill", kJpegStart + kFrame, DeclaredSize {30000, 20000}},
        {"JPEG, tables skipped", "\xFF\xD8\xFF\xC4\x00\x04\x00\x00"s + kFrame, DeclaredSize {30000, 20000}},
        {"JPEG, restart marker skipped", "\xFF\xD8\xFF\xD0"s + kFrame, DeclaredSize {30000, 20000}},
        {"JPEG, frame cut short", kJpegStart + kFrame.substr(0, 7), std::nullopt},
        {"JPEG, scan before any frame", "\xFF\xD8\xFF\xDA\x00\x08"s + kFrame, std::nullopt},
        {"JPEG, segment past the end", "\xFF\xD8\xFF\xE1\xFF\xFF"s + kFrame, std::nullopt},
        {"JPEG, length below its own", "\xFF\xD8\xFF\xE1\x00\x01"s + kFrame, std::nullopt},
        {"JPEG, no marker where one belongs", "\xFF\xD8\x00"s + kFrame, std::nullopt},
        {"TIFF", "II*\0\x08\0\0\0"s, std::nullopt},
        {"empty", ""s, std::nullopt},
    };
    for (const auto& [name, bytes, expected] : cases)
        EXPECT_EQ(sizeOf(bytes), expected) << name;
}
