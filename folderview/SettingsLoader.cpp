#include "folderview/SettingsLoader.h"

#include "support/tsPath.h"

TsStatus loadFolderLook(FolderFiles& files, FolderLookState& state)
{
    std::wstring path;
    bool exists = false;
    TsStatus status = tsBuildFileName(state.folder, kDesktopIni, path);
    if (status)
        status = files.isFileExist(path, exists);
    if (!status)
        return status;
    if (!exists) {
        state.textColorOn = kUnticked;
        state.textColor = kBlack;
        state.backColorOn = kUnticked;
        state.backColor = kWhite;
        return {};
    }

    if (std::wstring picture; files.readString(kViewId, kImageKey, L"", path, picture))
        state.picture = picture;

    const auto loadColor = [&](const wchar_t* key, int& on, ColorValue& color, ColorValue resetColor) {
        bool present = false;
        const bool tested = files.isKeyExist(kViewId, key, path, present).ok();
        std::int32_t value = 0;
        const bool isColor =
            (present || !tested) && files.readLong(kViewId, key, 0, path, value) && isStoredColor(value);
        on = isColor ? kTicked : kUnticked;
        color = isColor ? value : resetColor;
    };
    loadColor(kTextColorKey, state.textColorOn, state.textColor, kBlack);
    loadColor(kTextBackgroundKey, state.backColorOn, state.backColor, kWhite);
    return {};
}
