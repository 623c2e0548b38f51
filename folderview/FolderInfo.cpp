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
    // "path," names the icon file, not a file whose name ends in a comma.
    const bool decimal = number.find_first_not_of(L"-0123456789") == std::wstring::npos;
    if (decimal && (number.empty() || tsParseLong(number, value))) {
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

// Apply writes only what the user changed: an icon left as loaded keeps its keys as
// they are, since Windows writes a different file for each era into them.
std::vector<SettingEdit> folderInfoEdits(const FolderInfo& info, const FolderInfo& loaded, SkinAction action)
{
    const bool apply = action == SkinAction::Apply;
    const auto value = [](bool on, const std::wstring& text) { return on ? std::optional(text) : std::nullopt; };
    std::vector<SettingEdit> edits;
    if (!apply || info.icon != loaded.icon) {
        std::wstring iconPath;
        int index = 0;
        splitIconText(info.icon, iconPath, index);
        const bool icon = apply && !info.icon.empty();
        edits.push_back({kClassInfoSection, kIconResourceKey, value(icon, iconPath + L"," + std::to_wstring(index))});
        edits.push_back({kClassInfoSection, kIconFileKey, value(icon, iconPath)});
        edits.push_back({kClassInfoSection, kIconIndexKey, value(icon, std::to_wstring(index))});
    }
    if (!apply || info.infoTip != loaded.infoTip)
        edits.push_back({kClassInfoSection, kInfoTipKey, value(apply && !info.infoTip.empty(), info.infoTip)});
    return edits;
}

} // namespace

SkinOutcome runFolderInfoCommand(FolderFiles& files, const std::wstring& folder, const FolderInfo& info,
                                 const FolderInfo& loaded, SkinAction action)
{
    SettingsLocation file;
    if (SkinOutcome unusable = settingsFileForCommand(files, folder, file); unusable.kind != SkinOutcome::Kind::Done)
        return unusable;
    return writeSettings(files, folder, file, folderInfoEdits(info, loaded, action), action == SkinAction::Apply);
}
