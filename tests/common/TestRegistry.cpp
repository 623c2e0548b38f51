#include "common/TestRegistry.h"

#include "common/TestFiles.h"
#include "support/Handles.h"

#include <sddl.h>
#include <shlwapi.h>

namespace {

const std::wstring kDirectory = L"Software\\Classes\\Directory";

// Makes the key if need be and gives it the access list (SDDL); the error, if any.
LONG setKeyAccess(const std::wstring& key, const wchar_t* access)
{
    RegKey opened;
    PSECURITY_DESCRIPTOR security = nullptr;
    LONG error =
        RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, opened.put(), nullptr);
    if (!error && !ConvertStringSecurityDescriptorToSecurityDescriptorW(access, SDDL_REVISION_1, &security, nullptr))
        error = static_cast<LONG>(GetLastError());
    if (!error)
        error = RegSetKeySecurity(opened.get(), DACL_SECURITY_INFORMATION, security);
    LocalFree(security);
    return error;
}

} // namespace

std::optional<std::wstring> registryText(const std::wstring& key, const wchar_t* name)
{
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (SHGetValueW(HKEY_CURRENT_USER, key.c_str(), name, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return text;
}

bool registryKeyExists(const std::wstring& key)
{
    RegKey opened;
    return RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

void writeRegistryText(const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    if (SHSetValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))))
        throw systemError("SHSetValueW", key);
}

// Everyone is denied setting values, making and listing subkeys, and deleting (0x1000E).
void lockRegistryKey(const std::wstring& key)
{
    if (const LONG error = setKeyAccess(key, L"D:(D;;0x1000E;;;WD)(A;;KA;;;WD)")) {
        SetLastError(static_cast<DWORD>(error));
        throw systemError("lockRegistryKey", key);
    }
}

RegistryCleanup::RegistryCleanup() : hadDirectory_(registryKeyExists(kDirectory)) {}

RegistryCleanup::~RegistryCleanup()
{
    for (const std::wstring& key : {kFolderCommandKey, kBackgroundCommandKey, kSelectionClassKey}) {
        // A locked key cannot even be opened to tell whether it is there.
        (void)setKeyAccess(key, L"D:(A;;KA;;;WD)");
        SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSelectionClassKey.c_str()); // where a test copies the class for Wine's COM
    if (!hadDirectory_)
        SHDeleteKeyW(HKEY_CURRENT_USER, kDirectory.c_str());
}
