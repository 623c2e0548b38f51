#include "support/NameCompare.h"

#include <windows.h>

std::wstring upperName(const std::wstring& name)
{
    std::wstring result = name;
    if (!result.empty())
        (void)LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()), result.data(),
                           static_cast<int>(result.size()));
    return result;
}

bool isSameFile(const std::wstring& a, const std::wstring& b)
{
    const auto longForm = [](const std::wstring& path) {
        std::wstring form(MAX_PATH, L'\0');
        DWORD length = GetLongPathNameW(path.c_str(), form.data(), static_cast<DWORD>(form.size()));
        if (length >= form.size()) {
            form.resize(length);
            length = GetLongPathNameW(path.c_str(), form.data(), length);
        }
        return length && length < form.size() ? upperName(form.substr(0, length)) : upperName(path);
    };
    return longForm(a) == longForm(b);
}
