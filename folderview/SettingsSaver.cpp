#include "folderview/SettingsSaver.h"

#include "support/tsText.h"

std::vector<SettingEdit> folderLookEdits(const FolderLookState& state, const std::wstring& picture, SkinAction action)
{
    if (action == SkinAction::Remove)
        return {{kViewsSection, kViewId, std::nullopt}, {kViewId, std::nullopt, std::nullopt}};
    FolderLookState saved = state;
    saved.picture = picture;
    std::vector<SettingEdit> edits = {{kViewsSection, kViewId, kViewId}, {kViewId, kAttributesKey, L"1"}};
    for (const LookSetting& setting : kLookSettings) {
        std::wstring text;
        if (setting.text)
            text = saved.*setting.text;
        else if (saved.*setting.on != kTicked || !tsHexEx4(saved.*setting.color, text))
            text.clear();
        edits.push_back({kViewId, setting.key, text.empty() ? std::nullopt : std::optional(text)});
    }
    edits.push_back({kClassInfoSection, kConfirmFileOpKey, L"0"});
    return edits;
}
