#include "folderview/SkinCommand.h"

#include "folderview/SettingsFile.h"
#include "folderview/SettingsSaver.h"

SkinOutcome runSkinCommand(FolderFiles& files, const FolderLookState& state, SkinAction action)
{
    using Kind = SkinOutcome::Kind;
    const bool apply = action == SkinAction::Apply;
    SettingsLocation file;
    if (SkinOutcome unusable = settingsFileForCommand(files, state.folder, file); unusable.kind != Kind::Done)
        return unusable;
    FolderLookState saved = state;
    if (apply) {
        if (SkinOutcome refused = copySettingFiles<FolderLookState>(files, state.folder, kLookSettings, saved);
            refused.kind != Kind::Done)
            return refused;
    }
    return writeSettings(files, state.folder, file, folderLookEdits(state, saved.picture, action), apply);
}
