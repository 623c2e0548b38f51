#include "preview/ShellIcons.h"

#include "support/SystemFunction.h"

#include <shellapi.h>

namespace {

// Types whose every file may carry its own icon. A shortcut's icon is its target's,
// which may be on a server: shortcuts are asked for by type, which opens no file.
constexpr const wchar_t* kOwnIconTypes[] = {L".exe", L".ico", L".cur", L".ani"};

std::wstring typeOf(const std::wstring& name)
{
    const std::size_t dot = name.rfind(L'.');
    std::wstring type = dot == std::wstring::npos ? L"." : name.substr(dot);
    CharLowerBuffW(type.data(), static_cast<DWORD>(type.size()));
    return type;
}

} // namespace

SIZE ShellIcons::size()
{
    return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
}

int ShellIcons::indexOf(const std::wstring& folder, const PreviewItem& item)
{
    // A backslash is in no type: it stands for "a folder".
    std::wstring key = item.folder ? L"\\" : typeOf(item.name);
    std::wstring path = item.name;
    DWORD flags = SHGFI_SYSICONINDEX | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES;
    for (const wchar_t* type : kOwnIconTypes) {
        if (!item.folder && key == type) {
            key = path = folder + L"\\" + item.name;
            flags &= ~SHGFI_USEFILEATTRIBUTES;
        }
    }
    if (const auto known = indexes_.find(key); known != indexes_.end())
        return known->second;

    using GetFileInfo = DWORD_PTR WINAPI(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);
    const auto getFileInfo = systemFunction<GetFileInfo>(L"shell32.dll", "SHGetFileInfoW");
    SHFILEINFOW info = {};
    info.iIcon = -1;
    const DWORD attributes = item.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!com_)
        com_.emplace();
    if (getFileInfo) {
        if (const DWORD_PTR list = getFileInfo(path.c_str(), attributes, &info, sizeof info, flags))
            list_ = reinterpret_cast<HIMAGELIST>(list);
    }
    return indexes_[key] = info.iIcon;
}

void ShellIcons::draw(HDC dc, const std::wstring& folder, const PreviewItem& item, int x, int y)
{
    const int index = indexOf(folder, item);
    if (list_ && index >= 0)
        ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
}
