#include "support/ShellFunctions.h"

#include "support/SystemFunction.h"

#include <shellapi.h>
#include <shlobj.h>

void notifyFolderChanged(const std::wstring& folder)
{
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

std::wstring takeDroppedPath(HDROP drop)
{
    using QueryFunction = UINT WINAPI(HDROP, UINT, LPWSTR, UINT);
    const auto query = systemFunction<QueryFunction>(L"shell32.dll", "DragQueryFileW");
    const auto finish = systemFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    if (!query || !finish)
        return {};
    std::wstring path;
    if (query(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        path.resize(query(drop, 0, nullptr, 0) + 1);
        path.resize(query(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    finish(drop);
    return path;
}
