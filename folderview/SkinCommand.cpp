#include "folderview/SkinCommand.h"

#include "folderview/SettingsSaver.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

namespace {

using Kind = SkinOutcome::Kind;

// A relative picture (the bare name the folder's own file holds) names a file in the
// folder, not in the current directory. A picture that already is the copy is left
// alone: copying a file onto itself would empty it.
TsStatus copyPicture(FolderFiles& files, const std::wstring& folder, const std::wstring& picture,
                     const std::wstring& target)
{
    std::wstring source = picture;
    bool relative = false;
    TsStatus status = tsIsRelativePath(picture, relative);
    if (status && relative)
        status = tsBuildFileName(folder, picture, source);
    if (!status)
        return status;
    bool same = false;
    // When that cannot be told, the copy itself says what is wrong.
    (void)files.isSameFile(source, target, same);
    if (same)
        return {};
    // An earlier hidden or read-only copy could not be replaced otherwise; it gets its
    // attributes back when the copy fails. A first copy has nothing to unprotect.
    std::uint32_t earlier = 0;
    const bool protect = files.getAttributes(target, earlier).ok();
    if (protect)
        (void)files.setAttributes(target, kAttrNormal);
    status = files.copyFile(source, target);
    if (!status && protect)
        (void)files.setAttributes(target, earlier);
    return status;
}

} // namespace

SkinOutcome runSkinCommand(FolderFiles& files, const FolderLookState& state, SkinAction action)
{
    const bool apply = action == SkinAction::Apply;
    SettingsLocation file;
    if (SkinOutcome unusable = settingsFileForCommand(files, state.folder, file); unusable.kind != Kind::Done)
        return unusable;
    if (apply && holdsControlCharacter(state.picture))
        return {Kind::ControlCharacter, kImageKey};

    std::wstring picture;
    if (apply && state.copyPicture == kTicked && !state.picture.empty()) {
        // The copy is made through the ANSI file functions.
        std::string ansi;
        if (!tsToAnsi(state.picture, ansi))
            return {Kind::TextRefused, state.picture};
        std::wstring name, target;
        TsStatus status = tsGetFileName(state.picture, name);
        if (status)
            status = tsBuildFileName(state.folder, name, target);
        if (status && tsToAnsiPath(target, ansi).error() == TsStatus::kPathTooLong)
            return {Kind::PathTooLong, target};
        if (status)
            status = copyPicture(files, state.folder, state.picture, target);
        if (!status)
            return {Kind::CopyFailed, target, status.error()};
        // A visible copy still serves as the background.
        (void)files.setAttributes(target, kAttrHidden);
        picture = name;
    } else if (apply) {
        picture = state.picture;
    }
    return writeSettings(files, state.folder, file, folderLookEdits(state, picture, action), apply);
}
