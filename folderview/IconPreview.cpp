#include "folderview/IconPreview.h"

#include "support/tsPath.h"

#include <cwctype>

namespace {

bool isSeparator(const std::wstring& path, std::size_t at)
{
    return at < path.size() && (path[at] == L'\\' || path[at] == L'/');
}

// "\\server\share\..." and "\\?\UNC\server\share\..."; "\\?\C:\..." and "\\.\device"
// are this computer's.
bool isServerPath(const std::wstring& path)
{
    if (!isSeparator(path, 0) || !isSeparator(path, 1))
        return false;
    if (path.size() < 4 || (path[2] != L'?' && path[2] != L'.') || !isSeparator(path, 3))
        return true;
    std::wstring next = path.substr(4, 3);
    for (wchar_t& c : next)
        c = static_cast<wchar_t>(std::towupper(c));
    return next == L"UNC" && isSeparator(path, 7);
}

} // namespace

std::wstring iconFileInFolder(const std::wstring& path, const std::wstring& folder)
{
    bool relative = false;
    std::wstring file = path;
    if (tsIsRelativePath(path, relative) && relative && !path.empty())
        (void)tsBuildFileName(folder, path, file); // an empty folder leaves the path as it is
    return file;
}

bool readsWithoutAsking(const std::wstring& file, IconOrigin origin, bool onRemoteDrive)
{
    return origin == IconOrigin::User || !(onRemoteDrive || isServerPath(file));
}
