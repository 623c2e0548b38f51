#include "folderview/LookSettings.h"

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

std::vector<SettingEdit> lookEdits(const FolderLookState& state, const std::wstring& picture, Command action)
{
    if (action == Command::Remove)
        return {{kViewsSection, kViewId, std::nullopt}, {kViewId, std::nullopt, std::nullopt}};
    FolderLookState saved = state;
    saved.picture = picture;
    std::vector<SettingEdit> edits = {{kViewsSection, kViewId, kViewId}, {kViewId, kAttributesKey, L"1"}};
    addSettingEdits<FolderLookState>(kLookSettings, saved, nullptr, true, edits);
    edits.push_back({kClassInfoSection, kConfirmFileOpKey, L"0"});
    return edits;
}
