#pragma once
#include "folderview/FolderInfo.h"
#include "folderview/FolderLookState.h"

#include <string>
#include <vector>

// Every key that the windows' Apply and Remove write, with its section: the rows of
// both windows' tables (an icon is three keys), then the three keys the look's Apply
// writes beside its rows. A new row is in the list by itself.
struct OurKey {
    std::wstring section, key;
};

inline std::vector<OurKey> ourKeys()
{
    std::vector<OurKey> keys;
    const auto addRows = [&keys](const auto& rows) {
        for (const auto& row : rows) {
            keys.push_back({row.section, row.key});
            if (row.kind == SettingKind::Icon) {
                keys.push_back({row.section, kIconFileKey});
                keys.push_back({row.section, kIconIndexKey});
            }
        }
    };
    addRows(kLookSettings);
    addRows(kFolderInfoSettings);
    keys.insert(keys.end(),
                {{kViewsSection, kViewId}, {kViewId, kAttributesKey}, {kClassInfoSection, kConfirmFileOpKey}});
    return keys;
}
