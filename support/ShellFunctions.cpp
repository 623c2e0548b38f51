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

IconHandle extractIcon(const std::wstring& file, int index)
{
    const auto extract = systemFunction<decltype(ExtractIconExW)>(L"shell32.dll", "ExtractIconExW");
    HICON icon = nullptr;
    // The count it answers tells nothing more than whether the icon is there.
    if (extract)
        (void)extract(file.c_str(), index, &icon, nullptr, 1);
    return IconHandle(icon);
}
