#include "preview/PictureChoice.h"

#include "folderview/AnotherComputer.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

PictureChoice choosePicture(const FolderLookState& state, const std::wstring& loadedPicture,
                            const std::wstring& shownAnyway, DriveTypeQuery driveType)
{
    using Kind = PictureChoice::Kind;
    if (state.picture.empty())
        return {};
    std::string ansi;
    // Only the copy must go through the ANSI file functions; a UTF-16 settings file holds any text.
    if (state.copyPicture == kTicked && !tsToAnsi(state.picture, ansi))
        return {Kind::Refused, state.picture};
    std::wstring path = state.picture;
    bool relative = false;
    // Without a folder a relative name names nothing; the preview says the folder is missing.
    if (tsIsRelativePath(state.picture, relative) && relative && !tsBuildFileName(state.folder, state.picture, path))
        return {};
    const TextOrigin origin = state.picture == loadedPicture ? TextOrigin::SettingsFile : TextOrigin::User;
    if (path != shownAnyway && !readsWithoutAsking(path, origin, driveType))
        return {Kind::Withheld, path};
    return {Kind::File, path};
}
