#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Icons are files a folder names, so untrusted: their bytes are checked here before any
// system function sees them, since the system's own readers trust an icon's directory
// and would read past the file or decode an image of any size.

enum class IconRead { Read, Missing, Unreadable, TooLarge };

// The most an icon may hold: many images of every size up to 256 × 256 fit well below.
inline constexpr std::size_t kMaxIconBytes = 4 * 1024 * 1024;
inline constexpr unsigned kMaxIconSide = 256;
inline constexpr unsigned kMaxIconImages = 64;

// One image of an icon, as its own header gives it, and where its bytes lie in the .ico.
struct IconImage {
    unsigned width = 0;
    unsigned height = 0;
    unsigned bitCount = 0; // bits per pixel; 32 for a PNG image
    bool png = false;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// The images of a whole .ico file, each checked against the file: a directory of an
// icon, each entry's bytes inside the file after the directory, each image's own header
// (a bitmap's or a PNG's) whole and of at most 256 × 256, a bitmap's pixels inside its
// bytes.
IconRead iconImages(std::string_view ico, std::vector<IconImage>& images);

// An icon group of an .exe or .dll (its directory resource, with the ids of its images)
// rebuilt as a whole .ico file: imageById gives each image's resource bytes, none when
// the module lacks it. Every image is checked as iconImages does, and an image smaller
// than the group says is refused.
IconRead iconFromGroup(std::string_view group,
                       const std::function<std::optional<std::string_view>(unsigned id)>& imageById, std::string& ico);

// The image that draws best at size × size: a bitmap before a PNG (older systems cannot
// draw those), then the exact size, then the smallest larger one, then the largest; the
// most colours among equals. None for no images.
std::optional<IconImage> bestImage(const std::vector<IconImage>& images, unsigned size);

// A whole .ico file holding every image of the icon group at index, from an .ico or from
// an .exe/.dll, checked against the file. An .ico holds one icon, index 0. In a module,
// index counts the groups in the order the system lists them; a negative index is the
// group's resource id, as the shell reads "file,-237". The module is mapped as data:
// none of its code runs.
IconRead readIconFile(const std::wstring& path, int index, std::string& ico);
