#include "support/tsProfile.h"

#include "support/Handles.h"
#include "support/tsAnsi.h"
#include "support/tsFile.h"
#include "support/tsText.h"

#include <windows.h>

#include <vector>

namespace {

// GetPrivateProfileStringW with a buffer that grows until the whole answer fits.
// The system signals a cut answer by filling the buffer to size - 1 (one value) or
// size - 2 (a list of names), so any answer that close to the end is read again. The
// wide reader keeps the text of a UTF-16 file exactly; an ANSI file's is the same
// either way.
std::wstring readProfile(const std::wstring& section, const wchar_t* key, const wchar_t* defaultText,
                         const std::wstring& path)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length =
            GetPrivateProfileStringW(section.c_str(), key, defaultText, buffer.data(), size, path.c_str());
        if (length + 2 < size)
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// A NUL-separated list a profile function fills (section names, or a section's lines),
// read with a buffer that grows until the list fits: a cut list comes back with the
// buffer's size less two.
template <class Read> std::vector<std::wstring> readList(Read read)
{
    std::vector<wchar_t> buffer(4096);
    DWORD length = 0;
    while ((length = read(buffer.data(), static_cast<DWORD>(buffer.size()))) + 2 >= buffer.size())
        buffer.resize(buffer.size() * 2);
    std::vector<std::wstring> items;
    for (DWORD start = 0; start < length && buffer[start];) {
        items.emplace_back(buffer.data() + start);
        start += static_cast<DWORD>(items.back().size()) + 1;
    }
    return items;
}

// Names and paths the ANSI file functions could not take are refused here too, so
// that reading and writing refuse the same files.
TsStatus checkNames(const std::wstring& section, const std::wstring& key, const std::wstring& path)
{
    std::string ansi;
    TsStatus status = tsToAnsi(section, ansi);
    if (status)
        status = tsToAnsi(key, ansi);
    if (status)
        status = tsToAnsiPath(path, ansi);
    return status;
}

// What the reader gives back for an absent key: no value in a profile file can hold a
// line break, and the character after it keeps the default from being trimmed.
constexpr wchar_t kAbsent[] = L"\n*";

// The key's text when present; found tells absent from empty. One read answers for
// every key the reader gives a value. Only when the default comes back are the
// section's key names searched, as the file spells them, so that a key the reader
// gives no value for (a system may treat a line with no "=" so) is still found.
TsStatus readValue(const std::wstring& section, const std::wstring& key, const std::wstring& path, bool& found,
                   std::wstring& value)
{
    if (const TsStatus status = checkNames(section, key, path); !status)
        return status;
    value = readProfile(section, key.c_str(), kAbsent, path);
    found = value != kAbsent;
    if (found)
        return {};
    const std::wstring names = readProfile(section, nullptr, L"", path);
    for (std::size_t start = 0; start < names.size();) {
        std::size_t end = names.find(L'\0', start);
        if (end == std::wstring::npos)
            end = names.size();
        if (lstrcmpiW(names.substr(start, end - start).c_str(), key.c_str()) == 0) {
            found = true;
            value.clear();
            return {};
        }
        start = end + 1;
    }
    return {};
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
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    TsStatus status = tsToAnsi(section, ansiSection);
    if (status && key)
        status = tsToAnsi(*key, ansiKey);
    if (status && value)
        status = tsToAnsi(*value, ansiValue);
    if (status) {
        if (!WritePrivateProfileStringA(ansiSection.c_str(), key ? ansiKey.c_str() : nullptr,
                                        value ? ansiValue.c_str() : nullptr, ansiPath.c_str()))
            return TsStatus::failure(GetLastError());
        return {};
    }
    // Only a UTF-16 file holds what the code page lacks; the wide writer keeps its encoding.
    bool unicode = false;
    if (status.error() != TsStatus::kNoUnicodeMapping || !tsIsUnicodeFile(path, unicode) || !unicode)
        return status;
    if (!WritePrivateProfileStringW(section.c_str(), key ? key->c_str() : nullptr, value ? value->c_str() : nullptr,
                                    path.c_str()))
        return TsStatus::failure(GetLastError());
    return {};
}

TsStatus tsReadProfileCopy(const std::string& bytes, std::vector<ProfileSection>& result)
{
    wchar_t folder[MAX_PATH + 1], path[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"qmk", 0, path))
        return TsStatus::failure(GetLastError());
    {
        const FileHandle file(
            CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
        // Wine's reader parses a file again on every call while it is under about two
        // seconds old, and once when it is older.
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER time {{now.dwLowDateTime, now.dwHighDateTime}};
        time.QuadPart -= 36'000'000'000ULL; // an hour
        const FILETIME hourAgo {time.LowPart, time.HighPart};
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
            || written != bytes.size() || !SetFileTime(file.get(), nullptr, nullptr, &hourAgo)) {
            const DWORD error = GetLastError();
            (void)DeleteFileW(path); // a temporary file on its own
            return TsStatus::failure(error ? error : ERROR_DISK_FULL);
        }
    }
    result.clear();
    for (std::wstring& name :
         readList([&](wchar_t*buffer, DWORD size) { return GetPrivateProfileSectionNamesW(buffer, size, path); })) {
        std::vector<std::wstring> lines = readList(
            [&](wchar_t* buffer, DWORD size) { return GetPrivateProfileSectionW(name.c_str(), buffer, size, path); });
        result.push_back({std::move(name), std::move(lines)});
    }
    // Wine's reader keeps the files it read by name and time stamp, and a later
    // temporary file may take this one's name within one tick of the file clock.
    (void)WritePrivateProfileStringW(nullptr, nullptr, nullptr, path); // "flush": always false
    (void)DeleteFileW(path); // a temporary file on its own
    return {};
}
