#include "preview/PreviewModel.h"

#include <algorithm>

std::vector<PreviewItem> shownItems(const std::vector<FolderEntry>& entries, NameOrder order)
{
    std::vector<PreviewItem> items;
    items.reserve(entries.size());
    for (const FolderEntry& entry : entries) {
        if (entry.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) || entry.name == L"."
            || entry.name == L"..")
            continue;
        items.push_back({entry.name, (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    }
    std::sort(items.begin(), items.end(), [order](const PreviewItem& a, const PreviewItem& b) {
        if (a.folder != b.folder)
            return a.folder;
        return order(a.name.c_str(), b.name.c_str()) < 0;
    });
    return items;
}

IconGrid::IconGrid(SIZE cell, int areaWidth)
    : cell_(cell),
      columns_(std::max(1, static_cast<int>(areaWidth / std::max<LONG>(1, cell.cx))))
{
}

POINT IconGrid::origin(std::size_t index) const
{
    const auto columns = static_cast<std::size_t>(columns_);
    return {static_cast<LONG>(index % columns) * cell_.cx, static_cast<LONG>(index / columns) * cell_.cy};
}

int IconGrid::height(std::size_t count) const
{
    const auto rows = (count + static_cast<std::size_t>(columns_) - 1) / static_cast<std::size_t>(columns_);
    return static_cast<int>(rows) * cell_.cy;
}

ItemRange IconGrid::visible(std::size_t count, int top, int height) const
{
    if (cell_.cy <= 0 || height <= 0)
        return {};
    const auto columns = static_cast<std::size_t>(columns_);
    const auto firstRow = static_cast<std::size_t>(std::max(0, top) / cell_.cy);
    const auto endRow = static_cast<std::size_t>((std::max(0, top + height) + cell_.cy - 1) / cell_.cy);
    return {std::min(count, firstRow * columns), std::min(count, endRow * columns)};
}
