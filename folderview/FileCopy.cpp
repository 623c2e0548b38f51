#include "folderview/FileCopy.h"

#include "folderview/SettingsFormat.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

namespace {

TsStatus copyFile(FolderFiles& files, const std::wstring& source, const std::wstring& target)
{
    bool same = false;
    // When that cannot be told, the copy itself says what is wrong.
    (void)files.isSameFile(source, target, same);
    if (same)
        return {};
    // An earlier hidden or read-only copy could not be replaced otherwise; it gets its
    // attributes back when the copy fails. A first copy has nothing to unprotect.
    std::uint32_t earlier = 0;
    const bool protect = files.getAttributes(target, earlier).ok();
    if (protect)
        (void)files.setAttributes(target, kAttrNormal);
    const TsStatus status = files.copyFile(source, target);
    if (!status && protect)
        (void)files.setAttributes(target, earlier);
    return status;
}

} // namespace

CommandOutcome copyIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& source,
                              const wchar_t* key, std::wstring& name)
{
    using Kind = CommandOutcome::Kind;
    // The copy is made through the ANSI file functions.
    std::string ansi;
    if (!tsToAnsi(source, ansi))
        return {Kind::TextRefused, source};
    std::wstring bareName, target;
    TsStatus status = tsGetFileName(source, bareName);
    if (status)
        status = tsBuildFileName(folder, bareName, target);
    if (status && tsToAnsiPath(target, ansi).error() == TsStatus::kPathTooLong)
        return {Kind::PathTooLong, target};
    if (status)
        status = copyFile(files, source, target);
    if (!status)
        return {Kind::CopyFailed, target, status.error(), key};
    // A visible copy still serves.
    (void)files.setAttributes(target, kAttrHidden);
    name = bareName;
    return {};
}
