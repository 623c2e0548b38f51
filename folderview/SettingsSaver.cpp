#include "folderview/SettingsSaver.h"

#include "support/tsPath.h"
#include "support/tsText.h"

SaveResult saveFolderLook(FolderFiles& files, const FolderLookState& state, const std::wstring& picture, bool remove,
                          std::wstring& path)
{
    bool exists = false;
    if (!tsBuildFileName(state.folder, kDesktopIni, path) || !files.isFileExist(path, exists))
        return SaveResult::NotWritten;
    if (remove && !exists)
        return SaveResult::Saved;
    // A read-only, hidden or system copy could not be rewritten otherwise. Should this
    // fail, the first write fails too and says so.
    if (exists)
        (void)files.setAttributes(path, kAttrNormal);

    const auto write = [&](const wchar_t* section, const wchar_t* key, const std::wstring* value) {
        const std::wstring keyName = key ? key : L"";
        return files.writeINI(section, key ? &keyName : nullptr, value, path).ok();
    };
    const auto writeColor = [&](const wchar_t* key, int on, ColorValue color) {
        std::wstring text;
        return write(kViewId, key, on == kTicked && tsHexEx4(color, text) ? &text : nullptr);
    };
    const std::wstring viewId = kViewId, one = L"1", zero = L"0";
    const bool written = remove ? write(kViewsSection, kViewId, nullptr) && write(kViewId, nullptr, nullptr)
                                : write(kViewsSection, kViewId, &viewId) && write(kViewId, kAttributesKey, &one)
            && write(kViewId, kImageKey, picture.empty() ? nullptr : &picture)
            && writeColor(kTextColorKey, state.textColorOn, state.textColor)
            && writeColor(kTextBackgroundKey, state.backColorOn, state.backColor)
            && write(kClassInfoSection, kConfirmFileOpKey, &zero);
    if (!written)
        return SaveResult::NotWritten;

    // A drive root ("C:") keeps its attributes. Attributes that cannot be read are not
    // written back: the invalid value would set every bit.
    bool marked = true;
    std::wstring folderPath;
    if (!remove && tsRemoveBackslash(state.folder, folderPath) && folderPath.size() > 2) {
        std::uint32_t attributes = 0;
        marked = files.getAttributes(folderPath, attributes)
            && files.setAttributes(folderPath, (attributes | kAttrReadOnly) & ~kAttrDirectory);
    }
    // The shell reads the file whether or not it is hidden; hiding it only keeps it
    // out of the user's way.
    (void)files.setAttributes(path, kAttrHidden | kAttrSystem);
    return marked ? SaveResult::Saved : SaveResult::FolderNotMarked;
}
