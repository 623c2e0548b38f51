#include "support/FolderDialog.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

// COM for the folder browser, for as long as one is open.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (initialized_)
            CoUninitialize();
    }

private:
    bool initialized_;
};

class ItemIdList {
public:
    explicit ItemIdList(LPITEMIDLIST list) : list_(list) {}
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ~ItemIdList() { CoTaskMemFree(list_); }
    LPCITEMIDLIST get() const { return list_; }

private:
    LPITEMIDLIST list_;
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
    const ComApartment apartment;
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW request = {};
    request.hwndOwner = owner;
    request.pszDisplayName = displayName;
    request.lpszTitle = prompt.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = browseCallback;
    request.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    const ItemIdList chosen(SHBrowseForFolderW(&request));
    if (!chosen.get())
        return false;
    wchar_t path[MAX_PATH];
    if (!SHGetPathFromIDListW(chosen.get(), path))
        return false;
    folder = path;
    return true;
}
