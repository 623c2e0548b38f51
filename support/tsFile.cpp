#include "support/tsFile.h"

#include "support/Handles.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

#include <windows.h>

#include <algorithm>

TsStatus tsIsFileExist(const std::wstring& path, bool& result)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return TsStatus::failure(error);
        result = false;
        return {};
    }
    // A folder cannot be read or written as a file, as opening it would tell.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return TsStatus::failure(TsStatus::kAccessDenied);
    result = true;
    return {};
}

TsStatus tsIsUnicodeFile(const std::wstring& path, bool& result)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const FileHandle file(CreateFileA(ansiPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file)
        return TsStatus::failure(GetLastError());
    unsigned char mark[2] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), mark, sizeof mark, &read, nullptr))
        return TsStatus::failure(GetLastError());
    result = read == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
    return {};
}

bool tsIsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::wstring fullPathOf(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

// Where the names begin: after "C:\" or "\\server\share\".
std::size_t rootLength(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return 3;
    if (!path.starts_with(L"\\\\"))
        return 0;
    const std::size_t share = path.find(L'\\', 2);
    const std::size_t end = share == std::wstring::npos ? std::wstring::npos : path.find(L'\\', share + 1);
    return end == std::wstring::npos ? path.size() : end + 1;
}

} // namespace

std::wstring tsCanonicalFolder(const std::wstring& folder)
{
    std::wstring plain;
    if (folder.empty() || !tsPlainPath(folder, plain))
        return folder;
    // "C:" alone is the drive's root to the settings file's path, not its current folder.
    if (plain.size() == 2 && plain[1] == L':')
        plain += L'\\';
    std::wstring full = fullPathOf(plain);
    const std::size_t root = rootLength(full);
    while (full.size() > std::max<std::size_t>(root, 1) && full.back() == L'\\')
        full.pop_back();
    if (root == 3)
        full[0] = full[0] >= L'a' && full[0] <= L'z' ? static_cast<wchar_t>(full[0] - L'a' + L'A') : full[0];
    // Each name as its folder lists it: one question per level, asked of the exact name.
    std::wstring result = full.substr(0, std::min(root, full.size()));
    for (std::size_t at = root; at < full.size();) {
        std::size_t end = full.find(L'\\', at);
        if (end == std::wstring::npos)
            end = full.size();
        std::wstring name = full.substr(at, end - at);
        WIN32_FIND_DATAW found;
        const FindHandle find(name.find_first_of(L"*?") == std::wstring::npos
                                  ? FindFirstFileW((result + name).c_str(), &found)
                                  : INVALID_HANDLE_VALUE);
        if (!find)
            return result + full.substr(at);
        result += found.cFileName;
        if (end < full.size())
            result += L'\\';
        at = end + 1;
    }
    return result;
}
