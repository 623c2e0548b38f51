#include "folderview/IconFile.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

using namespace std::string_literals;

std::string le16(unsigned value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}
std::string le32(std::uint32_t value)
{
    return le16(value & 0xFFFF) + le16(value >> 16);
}

// A 1-bit bitmap image of side × side: header, two colours, pixels and mask.
std::string bitmap(unsigned side, std::size_t cut = 0)
{
    const unsigned row = (side + 31) / 32 * 4;
    const std::string image = le32(40) + le32(side) + le32(side * 2) + le16(1) + le16(1) + std::string(24, '\0')
        + "\0\0\0\0\xFF\xFF\xFF\0"s + std::string(2 * row * side, '\x55');
    return image.substr(0, image.size() - cut);
}

// A PNG's signature and header chunk, and a few bytes where its pixels would follow.
std::string png(std::uint32_t width, std::uint32_t height)
{
    const auto be32 = [](std::uint32_t v) {
        return std::string {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
                            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
    };
    return "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"s + be32(width) + be32(height) + "\x08\x06\0\0\0CRC!IDAT"s;
}

// An .ico's directory entry as a file holds it.
std::string entry(unsigned side, std::uint32_t size, std::uint32_t offset)
{
    return std::string {static_cast<char>(side & 0xFF), static_cast<char>(side & 0xFF), 0, 0} + le16(1) + le16(32)
        + le32(size) + le32(offset);
}

IconRead check(const std::string& ico, std::vector<IconImage>* found = nullptr)
{
    std::vector<IconImage> images;
    const IconRead result = iconImages(ico, images);
    if (found)
        *found = images;
    return result;
}

} // namespace

// A good icon's images as their own headers give them; then every way a file can lie
// about them, each refused from the bytes alone, a too large image as such.
TEST(IconFile, ImagesAreCheckedAgainstTheFile)
{
    const std::string small = bitmap(16), large = png(32, 32);
    ASSERT_EQ(small.size(), 176u);
    const std::string head = "\0\0\1\0\2\0"s;
    const std::string good = head + entry(16, 176, 38) + entry(32, large.size(), 214) + small + large;
    std::vector<IconImage> images;
    ASSERT_EQ(check(good, &images), IconRead::Read);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(std::tuple(images[0].width, images[0].height, images[0].bitCount, images[0].png, images[0].offset,
                         images[0].size),
              std::tuple(16u, 16u, 1u, false, 38u, 176u));
    EXPECT_EQ(std::tuple(images[1].width, images[1].height, images[1].png, images[1].offset),
              std::tuple(32u, 32u, true, 214u));

    const std::string one = "\0\0\1\0\1\0"s;
    const std::tuple<const char*, std::string, IconRead> cases[] = {
        {"200 bytes, the entry claims 1,000,000", one + entry(16, 1000000, 22) + small + "xx", IconRead::Unreadable},
        {"entry beyond the file", one + entry(16, 176, 4000) + small, IconRead::Unreadable},
        {"entry inside the directory", one + entry(16, 176, 0) + small, IconRead::Unreadable},
        {"12,000 x 12,000 PNG", one + entry(0, 33, 22) + png(12000, 12000) + std::string(580000, 'x'),
         IconRead::TooLarge},
        {"bitmap of 300 x 300", one + entry(0, 176, 22) + bitmap(300).substr(0, 176), IconRead::TooLarge},
        {"bitmap's pixels cut short", one + entry(16, 175, 22) + bitmap(16, 1), IconRead::Unreadable},
        {"a cursor", "\0\0\2\0\1\0"s + entry(16, 176, 22) + small, IconRead::Unreadable},
        {"no images", "\0\0\1\0\0\0"s, IconRead::Unreadable},
        {"directory cut short", one + entry(16, 176, 22).substr(0, 10), IconRead::Unreadable},
    };
    for (const auto& [name, bytes, expected] : cases)
        EXPECT_EQ(check(bytes), expected) << name;
}

// A module's group becomes an .ico: the group's fields, each image's size and where it
// lies, then the images in the group's order; a missing or short image refuses it.
TEST(IconFile, GroupIsRebuiltAsAnIcoFile)
{
    const std::string small = bitmap(16), large = bitmap(32);
    const std::map<unsigned, std::string> module = {{5, large}, {7, small}};
    const auto imageById = [&module](unsigned id) -> std::optional<std::string_view> {
        const auto found = module.find(id);
        return found == module.end() ? std::nullopt : std::optional<std::string_view>(found->second);
    };
    const auto groupEntry = [](unsigned side, std::uint32_t size, unsigned id) {
        return std::string {static_cast<char>(side), static_cast<char>(side), 2, 0} + le16(1) + le16(1) + le32(size)
            + le16(id);
    };
    const std::string head = "\0\0\1\0\2\0"s;
    std::string ico;
    ASSERT_EQ(iconFromGroup(head + groupEntry(16, 176, 7) + groupEntry(32, 304, 5), imageById, ico), IconRead::Read);
    EXPECT_EQ(ico,
              head + "\x10\x10\2\0\1\0\1\0"s + le32(176) + le32(38) + "\x20\x20\2\0\1\0\1\0"s + le32(304) + le32(214)
                  + small + large);

    EXPECT_EQ(iconFromGroup(head + groupEntry(16, 176, 7) + groupEntry(32, 304, 6), imageById, ico),
              IconRead::Unreadable);
    EXPECT_EQ(iconFromGroup("\0\0\1\0\1\0"s + groupEntry(16, 177, 7), imageById, ico), IconRead::Unreadable);
    EXPECT_TRUE(ico.empty());
}

// The image drawn at a size: a bitmap before a PNG, the size itself, else the smallest
// larger one, else the largest.
TEST(IconFile, BestImageForTheDrawingSize)
{
    const std::vector<IconImage> images = {
        {16, 16, 8, false, 0, 0}, {48, 48, 8, false, 1, 0}, {32, 32, 32, true, 2, 0}, {64, 64, 4, false, 3, 0}};
    for (const auto& [size, offset] : {std::pair(32u, 1u), std::pair(16u, 0u), std::pair(100u, 3u)})
        EXPECT_EQ(bestImage(images, size)->offset, offset) << size;
    EXPECT_EQ(bestImage({images[2]}, 16)->offset, 2u);
}
