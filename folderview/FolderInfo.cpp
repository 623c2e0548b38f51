#include "folderview/FolderInfo.h"
#include "support/tsText.h"

#include "folderview/SettingsFile.h"
#include "folderview/SettingsWriter.h"

TsStatus loadFolderInfo(FolderFiles& files, const std::wstring& folder, FolderInfo& info)
{
    SettingsLocation file;
    if (const TsStatus status = findSettingsFile(files, folder, file); !status)
        return status;
    FolderInfo loaded;
    if (file.exists)
        loadSettings<FolderInfo>(files, file.path, kFolderInfoSettings, loaded);
    info = loaded;
    return {};
}

CommandOutcome runFolderInfoCommand(FolderFiles& files, const std::wstring& folder, const FolderInfo& info,
                                    const FolderInfo& loaded, Command action)
{
    SettingsLocation file;
    if (CommandOutcome unusable = settingsFileForCommand(files, folder, file);
        unusable.kind != CommandOutcome::Kind::Done)
        return unusable;
    const bool apply = action == Command::Apply;
    FolderInfo saved = info;
    std::vector<std::wstring> superseded;
    if (apply) {
        if (CommandOutcome refused =
                copySettingFiles<FolderInfo>(files, folder, kFolderInfoSettings, saved, &loaded, &superseded);
            refused.kind != CommandOutcome::Kind::Done)
            return refused;
    }
    std::vector<SettingEdit> edits;
    addSettingEdits<FolderInfo>(kFolderInfoSettings, saved, &loaded, apply, edits);
    CommandOutcome written = writeSettings(files, folder, file, edits, apply);
    if (written.kind != CommandOutcome::Kind::Done)
        return written;
    written.applied = apply;
    // Only once the keys name the new copies: a failed write leaves the earlier ones named.
    removeUnnamedCopies(files, file.path, superseded);
    std::wstring former;
    if (!loaded.icon.empty() && (!apply || saved.icon != loaded.icon)
        && files.fullPath(settingFile(SettingKind::Icon, loaded.icon, folder), former)) {
        std::wstring path;
        int index = 0;
        splitIconText(loaded.icon, path, index);
        written.formerIcon = former + L"," + tsDecimal(index);
    }
    return written;
}

FolderInfo withChangedFields(const FolderInfo& own, const FolderInfo& edited, const FolderInfo& loaded)
{
    FolderInfo result = own;
    for (const Setting<FolderInfo>& setting : kFolderInfoSettings) {
        const bool textChanged = edited.*setting.text != loaded.*setting.text;
        if (textChanged)
            result.*setting.text = edited.*setting.text;
        // A copy tick says where the named file comes from, so it goes with a new name;
        // ticked alone, it copies each folder's own file.
        if (setting.copy && (textChanged || edited.*setting.copy != loaded.*setting.copy))
            result.*setting.copy = edited.*setting.copy;
    }
    return result;
}
