#include "support/tsRegisterAppPath.h"

#include "support/Handles.h"
#include "support/tsPath.h"

#include <string>

TsStatus tsRegisterAppPath()
{
    wchar_t exePath[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return TsStatus::failure(ERROR_INSUFFICIENT_BUFFER);
    const std::wstring exe(exePath, length);
    std::wstring name, folder;
    // Neither can fail: they only split the text.
    (void)tsGetFileName(exe, name);
    (void)tsGetFilePath(exe, folder);
    const std::wstring keyName = std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + name;

    RegKey key;
    LONG error =
        RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (error != ERROR_SUCCESS)
        return TsStatus::failure(static_cast<std::uint32_t>(error));
    const auto setText = [&key](const wchar_t* valueName, const std::wstring& text) {
        return RegSetValueExW(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    error = setText(nullptr, exe);
    if (error == ERROR_SUCCESS)
        error = setText(L"Path", folder);
    return error == ERROR_SUCCESS ? TsStatus() : TsStatus::failure(static_cast<std::uint32_t>(error));
}
