#include "support/Registry.h"

#include "support/Handles.h"

namespace {

TsStatus fromError(LONG error)
{
    return error == ERROR_SUCCESS ? TsStatus() : TsStatus::failure(static_cast<std::uint32_t>(error));
}

} // namespace

TsStatus tsReadRegText(HKEY root, const std::wstring& key, const wchar_t* name, std::wstring& result)
{
    RegKey opened;
    if (const LONG error = RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.put()); error != ERROR_SUCCESS)
        return fromError(error);
    DWORD type = 0;
    DWORD size = 0;
    LONG error = RegQueryValueExW(opened.get(), name, nullptr, &type, nullptr, &size);
    if (error != ERROR_SUCCESS)
        return fromError(error);
    if (type != REG_SZ)
        return TsStatus::failure(TsStatus::kInvalidData);
    // The stored text need not end in a terminator; one more character makes room for it.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    error = RegQueryValueExW(opened.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    if (error != ERROR_SUCCESS)
        return fromError(error);
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    result = std::move(text);
    return {};
}

TsStatus tsListRegKey(HKEY root, const std::wstring& key, std::vector<std::wstring>& values,
                      std::vector<std::wstring>& subkeys)
{
    RegKey opened;
    LONG error = RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, opened.put());
    if (error != ERROR_SUCCESS)
        return fromError(error);
    // A value's name has at most 16,383 characters, a key's 255.
    std::wstring name(16384, L'\0');
    std::vector<std::wstring> valueNames, keyNames;
    for (DWORD at = 0;; ++at) {
        DWORD length = static_cast<DWORD>(name.size());
        error = RegEnumValueW(opened.get(), at, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (error != ERROR_SUCCESS)
            break;
        valueNames.emplace_back(name.data(), length);
    }
    for (DWORD at = 0; error == ERROR_NO_MORE_ITEMS; ++at) {
        DWORD length = static_cast<DWORD>(name.size());
        if (const LONG found =
                RegEnumKeyExW(opened.get(), at, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
            found != ERROR_SUCCESS) {
            error = found == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : found;
            break;
        }
        keyNames.emplace_back(name.data(), length);
    }
    if (error != ERROR_SUCCESS)
        return fromError(error);
    values = std::move(valueNames);
    subkeys = std::move(keyNames);
    return {};
}

TsStatus tsWriteRegText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    RegKey opened;
    LONG error = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(), nullptr);
    if (error == ERROR_SUCCESS)
        error = RegSetValueExW(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    return fromError(error);
}

// Depth first: RegDeleteKeyW deletes only a key without subkeys, and RegDeleteTree
// came with Vista.
TsStatus tsDeleteRegTree(HKEY root, const std::wstring& key)
{
    {
        RegKey opened;
        LONG error = RegOpenKeyExW(root, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, opened.put());
        if (error == ERROR_FILE_NOT_FOUND)
            return {};
        if (error != ERROR_SUCCESS)
            return fromError(error);
        // A key name has at most 255 characters.
        wchar_t child[256];
        DWORD length = 256;
        // Always the first subkey: deleting one renumbers the rest.
        while ((error = RegEnumKeyExW(opened.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr))
               == ERROR_SUCCESS) {
            if (const TsStatus status = tsDeleteRegTree(root, key + L"\\" + child); !status)
                return status;
            length = 256;
        }
        if (error != ERROR_NO_MORE_ITEMS)
            return fromError(error);
    }
    return fromError(RegDeleteKeyW(root, key.c_str()));
}
