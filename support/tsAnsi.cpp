#include "support/tsAnsi.h"

#include <windows.h>

TsStatus tsToAnsi(const std::wstring& text, std::string& result)
{
    if (text.empty()) {
        result.clear();
        return {};
    }
    const int length = static_cast<int>(text.size());
    // WC_NO_BEST_FIT_CHARS stops "ą" quietly becoming "a"; usedDefault reports the rest.
    // A UTF-8 code page holds every character and accepts neither.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0)
        return TsStatus::failure(GetLastError());
    if (usedDefault)
        return TsStatus::failure(TsStatus::kNoUnicodeMapping);
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, converted.data(), size, nullptr, nullptr);
    result = std::move(converted);
    return {};
}

TsStatus tsToAnsiPath(const std::wstring& path, std::string& result)
{
    std::string converted;
    if (const TsStatus status = tsToAnsi(path, converted); !status)
        return status;
    if (converted.size() >= MAX_PATH)
        return TsStatus::failure(TsStatus::kPathTooLong);
    result = std::move(converted);
    return {};
}

TsStatus tsFromAnsi(const std::string& text, std::wstring& result)
{
    if (text.empty()) {
        result.clear();
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0)
        return TsStatus::failure(GetLastError());
    std::wstring converted(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, converted.data(), size);
    result = std::move(converted);
    return {};
}
