#include "folderview/SettingsLoader.h"

#include "folderview/SettingsFile.h"

TsStatus loadFolderLook(FolderFiles& files, FolderLookState& state)
{
    SettingsLocation file;
    if (const TsStatus status = findSettingsFile(files, state.folder, file); !status)
        return status;
    if (file.exists)
        loadSettings<FolderLookState>(files, file.path, kLookSettings, state);
    else
        resetColors<FolderLookState>(kLookSettings, state);
    return {};
}
