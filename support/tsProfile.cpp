#include "support/tsProfile.h"

#include "support/tsAnsi.h"
#include "support/tsText.h"

#include <windows.h>

#include <vector>

namespace {

// GetPrivateProfileStringA with a buffer that grows until the whole answer fits.
// The system signals a cut answer by filling the buffer to size - 1 (one value) or
// size - 2 (a list of names), so any answer that close to the end is read again.
std::string readProfile(const char* section, const char* key, const char* defaultText, const char* path)
{
    std::vector<char> buffer(256);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetPrivateProfileStringA(section, key, defaultText, buffer.data(), size, path);
        if (length + 2 < size)
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

struct AnsiKey {
    std::string section, key, path;
};

TsStatus toAnsi(const std::wstring& section, const std::wstring& key, const std::wstring& path, AnsiKey& result)
{
    TsStatus status = tsToAnsi(section, result.section);
    if (status)
        status = tsToAnsi(key, result.key);
    if (status)
        status = tsToAnsiPath(path, result.path);
    return status;
}

// Finds the key among the section's key names, as the file spells it.
TsStatus findKey(const AnsiKey& ansi, const std::wstring& key, std::string& spelling, bool& found)
{
    const std::string names = readProfile(ansi.section.c_str(), nullptr, "", ansi.path.c_str());
    found = false;
    for (std::size_t start = 0; start < names.size();) {
        const std::size_t end = names.find('\0', start);
        const std::string name = names.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::wstring wideName;
        if (const TsStatus status = tsFromAnsi(name, wideName); !status)
            return status;
        if (lstrcmpiW(wideName.c_str(), key.c_str()) == 0) {
            spelling = name;
            found = true;
            return {};
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return {};
}

// The key's text when present; found tells absent from empty.
TsStatus readValue(const std::wstring& section, const std::wstring& key, const std::wstring& path, bool& found,
                   std::wstring& value)
{
    AnsiKey ansi;
    std::string spelling;
    TsStatus status = toAnsi(section, key, path, ansi);
    if (status)
        status = findKey(ansi, key, spelling, found);
    if (status && found)
        status = tsFromAnsi(readProfile(ansi.section.c_str(), spelling.c_str(), "", ansi.path.c_str()), value);
    return status;
}

} // namespace

TsStatus tsReadStringFromINI(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                             const std::wstring& path, unsigned, std::wstring& result)
{
    bool found = false;
    std::wstring value;
    if (const TsStatus status = readValue(section, key, path, found, value); !status)
        return status;
    result = found ? value : defaultText;
    return {};
}

TsStatus tsReadLongFromINI(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                           const std::wstring& path, unsigned, std::int32_t& result)
{
    bool found = false;
    std::wstring value;
    if (const TsStatus status = readValue(section, key, path, found, value); !status)
        return status;
    if (!found) {
        result = defaultValue;
        return {};
    }
    return tsParseLong(value, result);
}

TsStatus tsIsINIKeyExist2(const std::wstring& section, const std::wstring& key, const std::wstring& path, unsigned,
                          bool, bool& result)
{
    std::wstring value;
    return readValue(section, key, path, result, value);
}

TsStatus tsWriteINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                    const std::wstring& path)
{
    std::string ansiSection, ansiKey, ansiValue, ansiPath;
    TsStatus status = tsToAnsi(section, ansiSection);
    if (status && key)
        status = tsToAnsi(*key, ansiKey);
    if (status && value)
        status = tsToAnsi(*value, ansiValue);
    if (status)
        status = tsToAnsiPath(path, ansiPath);
    if (!status)
        return status;
    if (!WritePrivateProfileStringA(ansiSection.c_str(), key ? ansiKey.c_str() : nullptr,
                                    value ? ansiValue.c_str() : nullptr, ansiPath.c_str()))
        return TsStatus::failure(GetLastError());
    return {};
}
