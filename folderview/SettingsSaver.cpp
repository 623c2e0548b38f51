#include "folderview/SettingsSaver.h"

#include "support/tsText.h"

std::vector<SettingEdit> folderLookEdits(const FolderLookState& state, const std::wstring& picture, SkinAction action)
{
    if (action == SkinAction::Remove)
        return {{kViewsSection, kViewId, std::nullopt}, {kViewId, std::nullopt, std::nullopt}};
    const auto color = [](int on, ColorValue value) {
        std::wstring text;
        return on == kTicked && tsHexEx4(value, text) ? std::optional(text) : std::nullopt;
    };
    return {
        {kViewsSection, kViewId, kViewId},
        {kViewId, kAttributesKey, L"1"},
        {kViewId, kImageKey, picture.empty() ? std::nullopt : std::optional(picture)},
        {kViewId, kTextColorKey, color(state.textColorOn, state.textColor)},
        {kViewId, kTextBackgroundKey, color(state.backColorOn, state.backColor)},
        {kClassInfoSection, kConfirmFileOpKey, L"0"},
    };
}
