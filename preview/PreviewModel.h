#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// What the preview shows of a folder, worked out with no window and no file.

// An entry of the folder as the listing gives it.
struct FolderEntry {
    std::wstring name;
    DWORD attributes = 0;
};

// An item of the shell's large-icon view.
struct PreviewItem {
    std::wstring name;
    bool folder = false;
};

// Compares two names as lstrcmpiW does: below, at or above zero.
using NameOrder = int(WINAPI*)(LPCWSTR, LPCWSTR);

// The entries the shell shows by default, folders first and each group in the name
// order: hidden and system entries (Desktop.INI, a hidden copy of the picture) and
// "." and ".." are left out.
std::vector<PreviewItem> shownItems(const std::vector<FolderEntry>& entries, NameOrder order);

// The first item and one past the last that a stretch of the grid shows.
struct ItemRange {
    std::size_t first = 0;
    std::size_t end = 0;
};

// The icon grid: cells of the system's icon spacing, filled row by row from the
// top-left of the icon area, as many to a row as the area's width holds (at least one).
class IconGrid {
public:
    IconGrid(SIZE cell, int areaWidth);
    SIZE cell() const { return cell_; }
    int columns() const { return columns_; }
    // The top-left of the item's cell, from the top of the whole grid.
    POINT origin(std::size_t index) const;
    // The height of the grid of count items.
    int height(std::size_t count) const;
    // The items whose cells show in the rows from top, height pixels tall.
    ItemRange visible(std::size_t count, int top, int height) const;

private:
    SIZE cell_;
    int columns_;
};
