#include "folderview/FolderInfo.h"

#include "folderview/FolderViewFile.h"
#include "folderview/SettingsWriter.h"
#include "support/tsText.h"

void splitIconText(const std::wstring& icon, std::wstring& path, int& index)
{
    path = icon;
    index = 0;
    const std::size_t comma = icon.rfind(L',');
    if (comma == std::wstring::npos)
        return;
    std::wstring number = icon.substr(comma + 1);
    number.erase(0, number.find_first_not_of(L' '));
    number.erase(number.find_last_not_of(L' ') + 1);
    std::int32_t value = 0;
    const bool decimal = !number.empty() && number.find_first_not_of(L"-0123456789") == std::wstring::npos;
    if (decimal && tsParseLong(number, value)) {
        path = icon.substr(0, comma);
        index = value;
    }
}

TsStatus loadFolderInfo(FolderFiles& files, const std::wstring& folder, FolderInfo& info)
{
    SettingsLocation file;
    TsStatus status = findSettingsFile(files, folder, file);
    if (!status)
        return status;
    const std::wstring& path = file.path;
    FolderInfo loaded;
    if (file.exists) {
        std::wstring resource, iconFile, iconIndex;
        status = files.readString(kClassInfoSection, kIconResourceKey, L"", path, resource);
        if (status)
            status = files.readString(kClassInfoSection, kIconFileKey, L"", path, iconFile);
        if (status)
            status = files.readString(kClassInfoSection, kIconIndexKey, L"0", path, iconIndex);
        if (status)
            status = files.readString(kClassInfoSection, kInfoTipKey, L"", path, loaded.infoTip);
        if (!status)
            return status;
        loaded.icon = !resource.empty() ? resource : iconFile.empty() ? L"" : iconFile + L"," + iconIndex;
    }
    info = loaded;
    return {};
}

namespace {

std::vector<SettingEdit> folderInfoEdits(const FolderInfo& info, SkinAction action)
{
    std::wstring iconPath;
    int index = 0;
    splitIconText(info.icon, iconPath, index);
    const bool apply = action == SkinAction::Apply;
    const bool icon = apply && !info.icon.empty();
    const auto value = [](bool on, const std::wstring& text) { return on ? std::optional(text) : std::nullopt; };
    return {
        {kClassInfoSection, kIconResourceKey, value(icon, iconPath + L"," + std::to_wstring(index))},
        {kClassInfoSection, kIconFileKey, value(icon, iconPath)},
        {kClassInfoSection, kIconIndexKey, value(icon, std::to_wstring(index))},
        {kClassInfoSection, kInfoTipKey, value(apply && !info.infoTip.empty(), info.infoTip)},
    };
}

} // namespace

SkinOutcome runFolderInfoCommand(FolderFiles& files, const std::wstring& folder, const FolderInfo& info,
                                 SkinAction action)
{
    SettingsLocation file;
    if (SkinOutcome unusable = settingsFileForCommand(files, folder, file); unusable.kind != SkinOutcome::Kind::Done)
        return unusable;
    return writeSettings(files, folder, file, folderInfoEdits(info, action), action == SkinAction::Apply);
}
