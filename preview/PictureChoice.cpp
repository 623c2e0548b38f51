#include "preview/PictureChoice.h"

#include "support/tsAnsi.h"
#include "support/tsPath.h"

bool isServerPath(const std::wstring& path)
{
    const auto separator = [&path](std::size_t at) {
        return path.size() > at && (path[at] == L'\\' || path[at] == L'/');
    };
    if (!separator(0) || !separator(1))
        return false;
    // "\\?\C:\..." and "\\.\..." name this machine's own files and devices; only
    // "\\?\UNC\..." names a server that way.
    const bool local = path.size() > 2 && (path[2] == L'?' || path[2] == L'.') && separator(3);
    return !local || _wcsnicmp(path.c_str() + 4, L"UNC\\", 4) == 0;
}

PictureChoice choosePicture(const FolderLookState& state, const std::wstring& loadedPicture,
                            const std::wstring& shownAnyway)
{
    using Kind = PictureChoice::Kind;
    if (state.picture.empty())
        return {};
    std::string ansi;
    if (!tsToAnsi(state.picture, ansi))
        return {Kind::Refused, state.picture};
    std::wstring path = state.picture;
    bool relative = false;
    // Without a folder a relative name names nothing; the preview says the folder is missing.
    if (tsIsRelativePath(state.picture, relative) && relative && !tsBuildFileName(state.folder, state.picture, path))
        return {};
    if (isServerPath(state.picture) && state.picture == loadedPicture && path != shownAnyway)
        return {Kind::Withheld, path};
    return {Kind::File, path};
}
