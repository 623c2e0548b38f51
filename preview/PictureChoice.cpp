#include "preview/PictureChoice.h"

#include "support/tsAnsi.h"
#include "support/tsPath.h"

bool isServerPath(const std::wstring& path)
{
    return path.size() > 1 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
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
