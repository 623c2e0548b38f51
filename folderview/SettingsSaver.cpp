#include "folderview/SettingsSaver.h"

#include "support/tsPath.h"
#include "support/tsText.h"

namespace {

void writeColor(FolderFiles& files, const std::wstring& path, const wchar_t* key, int on, ColorValue color)
{
    const std::wstring keyName = key;
    std::wstring text;
    if (on == kTicked && tsHexEx4(color, text))
        files.writeINI(kViewId, &keyName, &text, path);
    else
        files.writeINI(kViewId, &keyName, nullptr, path);
}

} // namespace

bool saveFolderLook(FolderFiles& files, const FolderLookState& state, const std::wstring& picture, bool remove,
                    std::wstring& path)
{
    std::wstring folderPath;
    tsBuildFileName(state.folder, kDesktopIni, path);
    tsRemoveBackslash(state.folder, folderPath);
    files.setAttributes(path, kAttrNormal);

    const std::wstring viewId = kViewId;
    if (remove) {
        bool exists = false;
        if (files.isFileExist(path, exists) && exists) {
            if (!files.writeINI(kViewsSection, &viewId, nullptr, path))
                return false;
            files.writeINI(kViewId, nullptr, nullptr, path);
        }
    } else {
        if (!files.writeINI(kViewsSection, &viewId, &viewId, path))
            return false;
        const std::wstring attributesKey = kAttributesKey, one = L"1";
        files.writeINI(kViewId, &attributesKey, &one, path);
        const std::wstring imageKey = kImageKey;
        files.writeINI(kViewId, &imageKey, picture.empty() ? nullptr : &picture, path);
        writeColor(files, path, kTextColorKey, state.textColorOn, state.textColor);
        writeColor(files, path, kTextBackgroundKey, state.backColorOn, state.backColor);
        const std::wstring confirmKey = kConfirmFileOpKey, zero = L"0";
        files.writeINI(kClassInfoSection, &confirmKey, &zero, path);

        // A drive root ("C:") keeps its attributes. When the folder's attributes cannot
        // be read they are left alone: writing back the invalid value would set every bit.
        std::uint32_t attributes = 0;
        if (folderPath.size() > 2 && files.getAttributes(folderPath, attributes))
            files.setAttributes(folderPath, (attributes | kAttrReadOnly) & ~kAttrDirectory);
    }
    files.setAttributes(path, kAttrHidden | kAttrSystem);
    return true;
}
