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
    // An earlier hidden or read-only copy could not be replaced otherwise; a first copy
    // has nothing to unprotect.
    (void)files.setAttributes(target, kAttrNormal);
    return files.copyFile(source, target);
}

} // namespace

SkinOutcome runSkinCommand(FolderFiles& files, const FolderLookState& state, SkinAction action)
{
    const bool apply = action == SkinAction::Apply;
    std::string ansi;
    if (state.folder.empty())
        return {Kind::NoFolder, {}};
    if (!tsToAnsi(state.folder, ansi))
        return {Kind::TextRefused, state.folder};
    if (apply && !tsToAnsi(state.picture, ansi))
        return {Kind::TextRefused, state.picture};

    // What is at the settings file's path is settled before anything is copied.
    std::wstring path;
    bool exists = false;
    TsStatus status = tsBuildFileName(state.folder, kDesktopIni, path);
    if (status)
        status = files.isFileExist(path, exists);
    if (status.error() == TsStatus::kPathTooLong)
        return {Kind::PathTooLong, path};
    if (!status)
        return {Kind::SaveFailed, path};

    std::wstring picture;
    if (apply && state.copyPicture == kTicked && !state.picture.empty()) {
        std::wstring name, target;
        status = tsGetFileName(state.picture, name);
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

    switch (saveFolderLook(files, state, picture, !apply, path)) {
    case SaveResult::Saved: return {Kind::Done, {}};
    case SaveResult::NotWritten: return {Kind::SaveFailed, path};
    case SaveResult::FolderNotMarked: break;
    }
    return {Kind::FolderNotMarked, state.folder};
}
