#include "support/FolderDialog.h"

#include "support/ComApartment.h"
#include "support/SystemFunction.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

// The browser's answer, which the caller must free with the COM allocator.
class ItemIdList {
public:
    ItemIdList(LPITEMIDLIST list, decltype(CoTaskMemFree)* free) : list_(list), free_(free) {}
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ~ItemIdList()
    {
        if (list_)
            free_(list_);
    }
    LPCITEMIDLIST get() const { return list_; }

private:
    LPITEMIDLIST list_;
    decltype(CoTaskMemFree)* free_;
};

// Opens the browser on the starting folder.
int CALLBACK browseCallback(HWND browser, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

bool FolderDialog::show()
{
    const auto memFree = systemFunction<decltype(CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    const auto browse = systemFunction<decltype(SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    const auto pathFromList = systemFunction<decltype(SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
    if (!memFree || !browse || !pathFromList)
        return false;

    const ComApartment apartment; // the browser needs COM for as long as it is open
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW request = {};
    request.hwndOwner = owner;
    request.pszDisplayName = displayName;
    request.lpszTitle = prompt.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = browseCallback;
    request.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    const ItemIdList chosen(browse(&request), memFree);
    wchar_t path[MAX_PATH];
    if (!chosen.get() || !pathFromList(chosen.get(), path))
        return false;
    folder = path;
    return true;
}
