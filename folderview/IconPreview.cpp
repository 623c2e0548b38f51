#include "folderview/IconPreview.h"

#include "support/tsPath.h"

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
    bool server = false;
    (void)tsIsServerPath(file, server); // cannot fail
    return origin == IconOrigin::User || !(onRemoteDrive || server);
}
