#include "folderview/SettingsLoader.h"

#include "folderview/SettingsFile.h"

TsStatus loadFolderLook(FolderFiles& files, FolderLookState& state)
{
    SettingsLocation file;
    if (const TsStatus status = findSettingsFile(files, state.folder, file); !status)
        return status;
    const std::wstring& path = file.path;
    if (!file.exists) {
        for (const LookSetting& setting : kLookSettings) {
            if (!setting.text) {
                state.*setting.on = kUnticked;
                state.*setting.color = setting.unset;
            }
        }
        return {};
    }

    for (const LookSetting& setting : kLookSettings) {
        if (setting.text) {
            if (std::wstring text; files.readString(kViewId, setting.key, L"", path, text))
                state.*setting.text = text;
            continue;
        }
        bool present = false;
        const bool tested = files.isKeyExist(kViewId, setting.key, path, present).ok();
        std::int32_t value = 0;
        const bool isColor =
            (present || !tested) && files.readLong(kViewId, setting.key, 0, path, value) && isStoredColor(value);
        state.*setting.on = isColor ? kTicked : kUnticked;
        state.*setting.color = isColor ? value : setting.unset;
    }
    return {};
}
