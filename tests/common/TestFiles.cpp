#include "common/TestFiles.h"

#include "support/Handles.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

namespace {

void removeTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring entry = folder + L"\\" + name;
            SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(entry);
            else
                DeleteFileW(entry.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::runtime_error systemError(const char* what, const std::wstring& path)
{
    return std::runtime_error(std::string(what) + " failed with error " + std::to_string(GetLastError()) + ": "
                              + utf8(path));
}

TempFolder::TempFolder(const std::wstring& suffix)
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        throw systemError("GetTempPathW", L"");
    // A new Wine prefix has not made its temporary folder yet.
    CreateDirectoryW(temp, nullptr);
    // Wine reuses process IDs from run to run; the time keeps a name from an earlier,
    // interrupted run apart.
    static unsigned counter = 0;
    const std::wstring base = std::wstring(temp, length) + L"quenmark-test-" + std::to_wstring(GetCurrentProcessId())
        + L"-" + std::to_wstring(GetTickCount()) + L"-";
    for (;;) {
        path_ = base + std::to_wstring(++counter) + suffix;
        if (CreateDirectoryW(path_.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw systemError("Making the folder (names outside ASCII need the locale ru_RU.UTF-8 of scripts/setup)",
                              path_);
    }
}

TempFolder::~TempFolder()
{
    removeTree(path_);
}

CurrentDirectory::CurrentDirectory(const std::wstring& folder)
{
    wchar_t current[MAX_PATH];
    previous_.assign(current, GetCurrentDirectoryW(MAX_PATH, current));
    if (!SetCurrentDirectoryW(folder.c_str()))
        throw systemError("SetCurrentDirectoryW", folder);
}

CurrentDirectory::~CurrentDirectory()
{
    SetCurrentDirectoryW(previous_.c_str());
}

std::string ansiBytes(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy)
        throw std::runtime_error("text that code page 1251 lacks: " + utf8(text));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void makeFolder(const std::wstring& path)
{
    if (!CreateDirectoryW(path.c_str(), nullptr))
        throw systemError("CreateDirectoryW", path);
}

void writeFile(const std::wstring& path, const std::string& bytes)
{
    const FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        || written != bytes.size())
        throw systemError("Writing", path);
    // Wine's profile functions keep a file they have read and read it again only when
    // its modification time has changed, which a rewrite within one tick of the file
    // system's clock would not show. A time of its own for each write, long past,
    // differs from every other and from the times of the program's own writes.
    static std::uint64_t writes = 0;
    const std::uint64_t time = 126227808000000000ull + ++writes * 10000000ull; // 2001-01-01 + seconds
    const FILETIME modified = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    if (!SetFileTime(file.get(), nullptr, nullptr, &modified))
        throw systemError("SetFileTime", path);
}

std::string readFile(const std::wstring& path)
{
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file)
        throw systemError("Opening", path);
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr) && count > 0)
        bytes.append(buffer, count);
    return bytes;
}

bool pathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD attributesOf(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw systemError("GetFileAttributesW", path);
    return attributes;
}

std::optional<std::wstring> iniValue(const std::wstring& path, const std::wstring& section, const std::wstring& key)
{
    // A default no file holds tells an absent key from an empty one.
    const std::wstring absent = L"\x01(absent)";
    std::vector<wchar_t> value(32768);
    const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), absent.c_str(), value.data(),
                                                  static_cast<DWORD>(value.size()), path.c_str());
    std::wstring text(value.data(), length);
    if (text == absent)
        return std::nullopt;
    return text;
}
