#include "common/TestFiles.h"

#include "support/Handles.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

std::runtime_error systemError(const char* what, const std::wstring& path)
{
    return std::runtime_error(std::string(what) + " failed with error " + std::to_string(GetLastError()) + ": "
                              + utf8(path));
}

TempFolder::TempFolder(const std::wstring& suffix)
{
    // Wine reuses process IDs from run to run; the time keeps a name from an earlier,
    // interrupted run apart. Names outside ASCII need the locale ru_RU.UTF-8 of setup.
    static unsigned counter = 0;
    fs::create_directories(fs::temp_directory_path());
    path_ = (fs::temp_directory_path() / L"quenmark-test-").wstring() + std::to_wstring(GetCurrentProcessId()) + L"-"
        + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter) + suffix;
    makeFolder(path_);
}

// Hidden, system and read-only entries too; Windows deletes none of them as they are.
TempFolder::~TempFolder()
{
    std::error_code ignored;
    for (fs::recursive_directory_iterator entry(path_, ignored), end; !ignored && entry != end;
         entry.increment(ignored))
        SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path_, ignored);
}

std::string ansiBytes(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &lossy);
    if (lossy)
        throw std::runtime_error("text that code page 1251 lacks: " + utf8(text));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::string utf8(const std::wstring& text)
{
    const std::u8string bytes = fs::path(text).u8string();
    return {bytes.begin(), bytes.end()};
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
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file)
        throw systemError("Opening", path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

DWORD attributesOf(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw systemError("GetFileAttributesW", path);
    return attributes;
}

namespace {

// A list of texts, each ended by a NUL, as the profile reader hands them over.
std::vector<std::wstring> nulSeparated(const std::vector<wchar_t>& buffer, DWORD length)
{
    std::vector<std::wstring> texts;
    for (const wchar_t* text = buffer.data(); text < buffer.data() + length && *text; text += wcslen(text) + 1)
        texts.emplace_back(text);
    return texts;
}

} // namespace

std::vector<std::wstring> iniSections(const std::wstring& path)
{
    std::vector<wchar_t> buffer(1 << 20);
    const auto size = static_cast<DWORD>(buffer.size());
    std::vector<std::wstring> result;
    for (const std::wstring& name :
         nulSeparated(buffer, GetPrivateProfileSectionNamesW(buffer.data(), size, path.c_str()))) {
        std::vector<wchar_t> lines(1 << 20);
        result.push_back(L"[" + name + L"]");
        for (std::wstring& line :
             nulSeparated(lines, GetPrivateProfileSectionW(name.c_str(), lines.data(), size, path.c_str())))
            result.push_back(std::move(line));
    }
    return result;
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

std::string bmpBytes(int width, int height, COLORREF body, COLORREF edge)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    const auto imageSize = static_cast<DWORD>(stride * height);
    constexpr DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file = {0x4D42, headers + imageSize, 0, 0, headers};
    const BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, imageSize, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int row = height - 1; row >= 0; --row) { // bottom-up
        std::string line(static_cast<std::size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const COLORREF color = row == 0 || x == 0 ? edge : body;
            line[x * 3] = static_cast<char>(GetBValue(color));
            line[x * 3 + 1] = static_cast<char>(GetGValue(color));
            line[x * 3 + 2] = static_cast<char>(GetRValue(color));
        }
        bytes += line;
    }
    return bytes;
}

DWORD runTestAlone(const std::wstring& test, const std::wstring& exe, const std::wstring& folder)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + (exe.empty() ? std::wstring(self) : exe)
        + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + test;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION run = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &run))
        throw systemError("CreateProcessW", line);
    DWORD exitCode = 1;
    if (WaitForSingleObject(run.hProcess, 60000) != WAIT_OBJECT_0 || !GetExitCodeProcess(run.hProcess, &exitCode))
        exitCode = 1;
    CloseHandle(run.hThread);
    CloseHandle(run.hProcess);
    return exitCode;
}
