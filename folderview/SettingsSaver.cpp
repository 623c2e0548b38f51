#include "folderview/SettingsSaver.h"

std::vector<SettingEdit> folderLookEdits(const FolderLookState& state, const std::wstring& picture, SkinAction action)
{
    if (action == SkinAction::Remove)
        return {{kViewsSection, kViewId, std::nullopt}, {kViewId, std::nullopt, std::nullopt}};
    FolderLookState saved = state;
    saved.picture = picture;
    std::vector<SettingEdit> edits = {{kViewsSection, kViewId, kViewId}, {kViewId, kAttributesKey, L"1"}};
    addSettingEdits<FolderLookState>(kLookSettings, saved, nullptr, true, edits);
    edits.push_back({kClassInfoSection, kConfirmFileOpKey, L"0"});
    return edits;
}
