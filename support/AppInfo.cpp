#include "support/AppInfo.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring queryString(std::vector<BYTE>& block, const std::wstring& translation, const wchar_t* name)
{
    const std::wstring subBlock = L"\\StringFileInfo\\" + translation + L"\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), subBlock.c_str(), &value, &length) || length == 0)
        return {};
    const auto* text = static_cast<const wchar_t*>(value);
    return std::wstring(text, text + length - (text[length - 1] == L'\0' ? 1 : 0));
}

} // namespace

AppInfo readAppInfo()
{
    wchar_t exePath[MAX_PATH];
    const DWORD pathLength = GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    if (pathLength == 0 || pathLength == MAX_PATH)
        return {};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exePath, &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(exePath, 0, size, block.data()))
        return {};

    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length)
        || length < sizeof(Translation))
        return {};
    wchar_t key[9];
    wsprintfW(key, L"%04x%04x", translations->language, translations->codePage);
    return {queryString(block, key, L"ProductName"), queryString(block, key, L"ProductVersion"),
            queryString(block, key, L"FileDescription"), queryString(block, key, L"LegalCopyright")};
}
