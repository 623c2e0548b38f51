#include "folderview/LookCommand.h"

#include "folderview/LookSettings.h"
#include "folderview/SettingsFile.h"

CommandOutcome runLookCommand(FolderFiles& files, const FolderLookState& state, Command action)
{
    using Kind = CommandOutcome::Kind;
    const bool apply = action == Command::Apply;
    SettingsLocation file;
    if (CommandOutcome unusable = settingsFileForCommand(files, state.folder, file); unusable.kind != Kind::Done)
        return unusable;
    FolderLookState saved = state;
    if (apply) {
        if (CommandOutcome refused = copySettingFiles<FolderLookState>(files, state.folder, kLookSettings, saved);
            refused.kind != Kind::Done)
            return refused;
    }
    CommandOutcome written = writeSettings(files, state.folder, file, lookEdits(state, saved.picture, action), apply);
    written.applied = apply && written.kind == Kind::Done;
    return written;
}
