#include "folderview/PictureCopy.h"

#include "folderview/FolderViewFile.h"
#include "support/tsPath.h"

TsStatus copyPictureIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& picture,
                               std::wstring& target, std::wstring& savedName)
{
    // Each step runs even after an earlier one failed; the last failure is the one told.
    TsStatus failure;
    const auto remember = [&failure](TsStatus status) {
        if (!status)
            failure = status;
        return status.ok();
    };

    std::wstring fileName;
    remember(tsGetFileName(picture, fileName));
    remember(tsBuildFileName(folder, fileName, target));

    std::wstring source = picture;
    bool relative = false;
    if (remember(tsIsRelativePath(picture, relative)) && relative)
        remember(tsBuildFileName(folder, picture, source));

    bool same = false;
    files.isSameFile(source, target, same);
    if (!same) {
        // An earlier hidden or read-only copy could not be replaced otherwise; a first
        // copy has nothing to unprotect.
        files.setAttributes(target, kAttrNormal);
        remember(files.copyFile(source, target));
    }
    if (!failure)
        return failure;

    files.setAttributes(target, kAttrHidden);
    return tsGetFileName(target, savedName);
}
