#include "preview/FolderListing.h"

#include "support/Handles.h"
#include "support/SystemFunction.h"

namespace {

NameOrder explorerOrder()
{
    static const NameOrder order = [] {
        const auto logical = systemFunction<int WINAPI(LPCWSTR, LPCWSTR)>(L"shlwapi.dll", "StrCmpLogicalW");
        return logical ? logical : lstrcmpiW;
    }();
    return order;
}

} // namespace

bool listShownItems(const std::wstring& folder, std::vector<PreviewItem>& items)
{
    if (folder.empty())
        return false;
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = folder + (!folder.empty() && folder.back() == L'\\' ? L"*" : L"\\*");
    const FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search)
        return false;
    do {
        entries.push_back({found.cFileName, found.dwFileAttributes});
    } while (FindNextFileW(search.get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES)
        return false;
    items = shownItems(entries, explorerOrder());
    return true;
}
