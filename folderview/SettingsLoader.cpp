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

    std::wstring picture;
    if (files.readString(kViewId, kImageKey, L"", path, picture))
        state.picture = picture;

    std::int32_t lastRead = 0;
    const auto loadColor = [&](const wchar_t* key, int& on, ColorValue& color, ColorValue resetColor) {
        bool present = false;
        if (!files.isKeyExist(kViewId, key, path, present))
            present = true;
        std::int32_t value = 0;
        if (present && files.readLong(kViewId, key, 0, path, value))
            lastRead = value;
        if (present && isStoredColor(lastRead)) {
            on = kTicked;
            color = lastRead;
        } else {
            on = kUnticked;
            color = resetColor;
        }
    };
    loadColor(kTextColorKey, state.textColorOn, state.textColor, kBlack);
    loadColor(kTextBackgroundKey, state.backColorOn, state.backColor, kWhite);
    return {};
}
