#include "folderview/CloudFolder.h"

#include "resources/Texts.h"
#include "support/tsPath.h"

#include <windows.h>

#include <iterator>

namespace {

// The path in its plain form, without a trailing backslash: "C:\" is "C:".
std::wstring plainFolder(const std::wstring& path)
{
    std::wstring plain;
    if (!tsPlainPath(path, plain))
        plain = path;
    while (!plain.empty() && plain.back() == L'\\')
        plain.pop_back();
    return plain;
}

// A path as the file system compares it: every letter upper-cased by the invariant
// table, since the roots hold letters of any script.
std::wstring comparable(const std::wstring& path)
{
    const std::wstring plain = plainFolder(path);
    std::wstring result(plain.size(), L'\0');
    if (!plain.empty())
        (void)LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, plain.data(), static_cast<int>(plain.size()),
                           result.data(), static_cast<int>(result.size()));
    return result;
}

bool isAtOrUnder(const std::wstring& folder, const std::wstring& root)
{
    return !root.empty() && folder.starts_with(root) && (folder.size() == root.size() || folder[root.size()] == L'\\');
}

// The folder one up, or empty above a drive ("C:") or a share ("\\server\share").
std::wstring parentOf(const std::wstring& folder)
{
    const std::size_t cut = folder.rfind(L'\\');
    const bool share = folder.starts_with(L"\\\\");
    if (cut == std::wstring::npos || (share && folder.find(L'\\', 2) == cut))
        return L"";
    return folder.substr(0, cut);
}

constexpr const wchar_t* kOneDriveRoots[] = {L"OneDrive", L"OneDriveConsumer", L"OneDriveCommercial"};

const struct {
    const wchar_t* pattern;
    CloudClient client;
} kRootMarks[] = {
    {L".sync_*.db", CloudClient::Nextcloud},
    {L"._sync_*.db", CloudClient::Nextcloud},
    {L".owncloudsync.log", CloudClient::Nextcloud},
    {L".megaignore", CloudClient::Mega},
};

} // namespace

CloudClient cloudClientOf(const std::wstring& folder, const CloudProbe& probe)
{
    const std::wstring own = comparable(folder);
    for (const wchar_t* variable : kOneDriveRoots) {
        if (isAtOrUnder(own, comparable(probe.environment(variable))))
            return CloudClient::OneDrive;
    }
    for (std::wstring at = plainFolder(folder); !at.empty(); at = parentOf(at)) {
        for (const auto& mark : kRootMarks) {
            if (probe.exists(at + L"\\" + mark.pattern))
                return mark.client;
        }
    }
    return CloudClient::None;
}

const wchar_t* cloudClientName(CloudClient client)
{
    static_assert(std::size(kCloudClientNames) == static_cast<std::size_t>(CloudClient::Mega));
    return client == CloudClient::None ? L"" : kCloudClientNames[static_cast<std::size_t>(client) - 1];
}
