#include "support/ShellFunctions.h"

#include "support/Handles.h"
#include "support/SystemFunction.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>

void notifyFolderChanged(const std::wstring& folder, const std::wstring& formerIcon)
{
    // First, so that the folder's own notice finds the former image gone from the cache.
    // The image index is -1: this process holds no image of it, and each shell finds its
    // own by the location.
    if (const std::size_t comma = formerIcon.rfind(L','); comma != std::wstring::npos) {
        if (const auto update =
                systemFunction<decltype(SHUpdateImageW)>(L"shell32.dll", "SHUpdateImageW"))
            update(formerIcon.substr(0, comma).c_str(),
                   static_cast<int>(std::wcstol(formerIcon.c_str() + comma + 1, nullptr, 10)), 0, -1);
    }
    const auto notify = systemFunction<decltype(SHChangeNotify)>(L"shell32.dll", "SHChangeNotify");
    if (!notify)
        return;
    // The folder's icon and comment show in its parent's window, its picture and
    // colours in its own.
    notify(SHCNE_UPDATEITEM, SHCNF_PATHW, folder.c_str(), nullptr);
    notify(SHCNE_UPDATEDIR, SHCNF_PATHW, folder.c_str(), nullptr);
}

void notifyAssociationsChanged()
{
    if (const auto notify = systemFunction<decltype(SHChangeNotify)>(L"shell32.dll", "SHChangeNotify"))
        notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool readDropFiles(const void* block, std::size_t size, std::vector<std::wstring>& paths)
{
    paths.clear();
    DROPFILES header;
    if (!block || size < sizeof header)
        return false;
    std::memcpy(&header, block, sizeof header);
    const auto* bytes = static_cast<const char*>(block);
    const std::size_t unit = header.fWide ? sizeof(wchar_t) : 1;
    // Read a character at a time: the list need not be aligned.
    const auto at = [&](std::size_t offset) {
        wchar_t c = 0;
        std::memcpy(&c, bytes + offset, unit);
        return c;
    };
    std::size_t next = header.pFiles;
    for (;;) {
        std::size_t end = next;
        while (next >= sizeof header && end <= size - unit && at(end) != 0)
            end += unit;
        if (next < sizeof header || end > size - unit) {
            paths.clear();
            return false;
        }
        if (end == next)
            return true;
        std::wstring path;
        if (header.fWide) {
            path.resize((end - next) / unit);
            std::memcpy(path.data(), bytes + next, end - next);
        } else {
            const int length = static_cast<int>(end - next);
            path.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, bytes + next, length, nullptr, 0)));
            MultiByteToWideChar(CP_ACP, 0, bytes + next, length, path.data(), static_cast<int>(path.size()));
        }
        paths.push_back(std::move(path));
        next = end + unit;
    }
}

bool droppedPaths(HDROP drop, std::vector<std::wstring>& paths)
{
    const LockedGlobal block(drop);
    return readDropFiles(block.get(), block.get() ? GlobalSize(drop) : 0, paths);
}

std::vector<std::wstring> takeDroppedPaths(HDROP drop)
{
    const auto finish = systemFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    std::vector<std::wstring> paths;
    (void)droppedPaths(drop, paths); // a damaged drop is no choice the window can take
    if (finish)
        finish(drop);
    return paths;
}
