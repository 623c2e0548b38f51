#include "support/AppInfo.h"

#include "support/InterfaceLanguage.h"
#include "support/SystemFunction.h"

#include <windows.h>

#include <vector>

namespace {

// Only the about box and error reports read the version resource, so version.dll is
// loaded when one of them first needs it, never at start-up.
using VerQueryValueFunction = decltype(VerQueryValueW);

std::wstring queryString(VerQueryValueFunction* query, std::vector<BYTE>& block, const std::wstring& translation,
                         const wchar_t* name)
{
    const std::wstring subBlock = L"\\StringFileInfo\\" + translation + L"\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!query(block.data(), subBlock.c_str(), &value, &length) || length == 0)
        return {};
    const auto* text = static_cast<const wchar_t*>(value);
    return std::wstring(text, text + length - (text[length - 1] == L'\0' ? 1 : 0));
}

} // namespace

TsStatus tsGetExePath(std::wstring& result)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return TsStatus::failure(ERROR_INSUFFICIENT_BUFFER);
    result.assign(path, length);
    return {};
}

AppInfo readAppInfo()
{
    std::wstring exe;
    if (!tsGetExePath(exe))
        return {};
    const auto infoSize = systemFunction<decltype(GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    const auto info = systemFunction<decltype(GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    const auto query = systemFunction<VerQueryValueFunction>(L"version.dll", "VerQueryValueW");
    if (!infoSize || !info || !query)
        return {};
    DWORD ignored = 0;
    const DWORD size = infoSize(exe.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!info(exe.c_str(), 0, size, block.data()))
        return {};

    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length)
        || length < sizeof(Translation))
        return {};
    // The block in the interface's language, else the first.
    const Translation* chosen = translations;
    for (UINT i = 0; i < length / sizeof(Translation); ++i) {
        if (languageFor(translations[i].language) == interfaceLanguage()) {
            chosen = translations + i;
            break;
        }
    }
    wchar_t key[9];
    wsprintfW(key, L"%04x%04x", chosen->language, chosen->codePage);
    return {queryString(query, block, key, L"ProductName"), queryString(query, block, key, L"ProductVersion"),
            queryString(query, block, key, L"FileDescription"), queryString(query, block, key, L"LegalCopyright")};
}
