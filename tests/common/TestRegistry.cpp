#include "common/TestRegistry.h"

#include "common/TestFiles.h"
#include "support/Handles.h"

#include <shlwapi.h>

namespace {

const std::wstring kDirectory = L"Software\\Classes\\Directory";

// Everyone may do anything with the key, except what denied names; the error, if any.
LONG setKeyAccess(const std::wstring& key, DWORD denied)
{
    RegKey opened;
    if (const LONG error =
            RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, opened.put(), nullptr))
        return error;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    alignas(ACL) BYTE aclBytes[256];
    const auto acl = reinterpret_cast<PACL>(aclBytes);
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    if (denied)
        AddAccessDeniedAce(acl, ACL_REVISION, denied, everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
    SECURITY_DESCRIPTOR security;
    InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&security, TRUE, acl, FALSE);
    const LONG error = RegSetKeySecurity(opened.get(), DACL_SECURITY_INFORMATION, &security);
    FreeSid(everyone);
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

void lockRegistryKey(const std::wstring& key)
{
    if (const LONG error = setKeyAccess(key, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | DELETE)) {
        SetLastError(static_cast<DWORD>(error));
        throw systemError("lockRegistryKey", key);
    }
}

RegistryCleanup::RegistryCleanup() : hadDirectory_(registryKeyExists(kDirectory)) {}

RegistryCleanup::~RegistryCleanup()
{
    for (const std::wstring& key : {kFolderCommandKey, kBackgroundCommandKey}) {
        // A locked key cannot even be opened to tell whether it is there.
        (void)setKeyAccess(key, 0);
        SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
    if (!hadDirectory_)
        SHDeleteKeyW(HKEY_CURRENT_USER, kDirectory.c_str());
}
