#include "support/ShellFunctions.h"

#include "support/SystemFunction.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

void notifyFolderChanged(const std::wstring& folder, const std::wstring& formerIcon)
{
    // First, so that the folder's own notice finds the former image gone from the cache.
    // The image index is -1: this process holds no image of it, and each shell finds its
    // own by the location.
    if (const std::size_t comma = formerIcon.rfind(L','); comma != std::wstring::npos) {
        if (const auto update =
                systemFunction<decltype(SHUpdateImageW)>(L"shell32.dll", "SHUpdateImageW", LibraryPlace::SystemFolder))
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

std::vector<std::wstring> droppedPaths(HDROP drop)
{
    using QueryFunction = UINT WINAPI(HDROP, UINT, LPWSTR, UINT);
    const auto query = systemFunction<QueryFunction>(L"shell32.dll", "DragQueryFileW");
    std::vector<std::wstring> paths;
    if (!query)
        return paths;
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring path(query(drop, index, nullptr, 0) + 1, L'\0');
        path.resize(query(drop, index, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(path);
    }
    return paths;
}

std::vector<std::wstring> takeDroppedPaths(HDROP drop)
{
    const auto finish = systemFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    std::vector<std::wstring> paths = droppedPaths(drop);
    if (finish)
        finish(drop);
    return paths;
}
