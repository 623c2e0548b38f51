#include "folderview/SettingsFile.h"

#include "folderview/SettingsFormat.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

TsStatus findSettingsFile(FolderFiles& files, const std::wstring& folder, SettingsLocation& location)
{
    TsStatus status = tsBuildFileName(folder, kDesktopIni, location.path);
    if (status)
        status = files.isFileExist(location.path, location.exists);
    return status;
}

CommandOutcome settingsFileForCommand(FolderFiles& files, const std::wstring& folder, SettingsLocation& location)
{
    using Kind = CommandOutcome::Kind;
    std::string ansi;
    if (folder.empty())
        return {Kind::NoFolder, {}};
    if (!tsToAnsi(folder, ansi))
        return {Kind::TextRefused, folder};
    const TsStatus status = findSettingsFile(files, folder, location);
    if (status.error() == TsStatus::kPathTooLong)
        return {Kind::PathTooLong, location.path};
    if (!status)
        return {Kind::SaveFailed, location.path};
    return {};
}
