#include "undo/Win32JournalStore.h"

#include "support/SystemFunction.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <algorithm>

namespace {

constexpr wchar_t kRunning[] = L".run";
constexpr wchar_t kFinished[] = L".qmj";
constexpr std::size_t kIdDigits = 16;

TsStatus lastError()
{
    return TsStatus::failure(GetLastError());
}

// The user's account as text, for the store's access list.
TsStatus userSid(std::wstring& sid)
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return lastError();
    const FileHandle token(raw);
    DWORD size = 0;
    (void)GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    LPWSTR text = nullptr;
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)
        || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return lastError();
    sid = text;
    LocalFree(text);
    return {};
}

std::wstring idOf(std::uint64_t value)
{
    std::wstring id(kIdDigits, L'0');
    for (std::size_t i = kIdDigits; i-- > 0; value >>= 4)
        id[i] = L"0123456789abcdef"[value & 0xF];
    return id;
}

bool isId(const std::wstring& text)
{
    return text.size() == kIdDigits
        && std::all_of(text.begin(), text.end(), [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
}

} // namespace

// The environment names the folder on every Windows since Vista, at no cost; Windows XP
// has only the shell's function, whose library is then loaded.
std::wstring Win32JournalStore::defaultRoot()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return std::wstring(path) + L"\\Quenmark";
    using GetFolderPath = HRESULT WINAPI(HWND, int, HANDLE, DWORD, LPWSTR);
    const auto getPath = systemFunction<GetFolderPath>(L"shell32.dll", "SHGetFolderPathW");
    if (getPath && getPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path) == S_OK)
        return std::wstring(path) + L"\\Quenmark";
    return {}; // every use then fails
}

Win32JournalStore::Win32JournalStore(std::wstring root) : root_(std::move(root)) {}

std::wstring Win32JournalStore::pathOf(const std::wstring& id, bool finished) const
{
    return root_ + L"\\" + id + (finished ? kFinished : kRunning);
}

TsStatus Win32JournalStore::refused()
{
    close();
    return TsStatus::failure(ERROR_NOT_READY);
}

// Made with an access list that lets only the user in, inherited by every entry, since
// an entry holds copies of the user's files.
TsStatus Win32JournalStore::makeRoot()
{
    if (rootMade_)
        return {};
    if (root_.empty())
        return TsStatus::failure(ERROR_PATH_NOT_FOUND);
    const DWORD attributes = GetFileAttributesW(root_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return TsStatus::failure(ERROR_DIRECTORY);
        rootMade_ = true;
        return {};
    }
    std::wstring sid;
    if (const TsStatus found = userSid(sid); !found)
        return found;
    const std::wstring access = L"D:P(A;OICI;FA;;;" + sid + L")";
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(access.c_str(), SDDL_REVISION_1,
                                                              &security.lpSecurityDescriptor, nullptr))
        return lastError();
    if (!proceed()) {
        LocalFree(security.lpSecurityDescriptor);
        return refused();
    }
    const BOOL made = CreateDirectoryW(root_.c_str(), &security);
    const DWORD error = GetLastError();
    LocalFree(security.lpSecurityDescriptor);
    if (!made && error != ERROR_ALREADY_EXISTS)
        return TsStatus::failure(error);
    rootMade_ = true;
    return {};
}

// One listing of the folder: an entry costs a file name, and only an unfinished one is
// opened, to tell whether its program still holds it.
TsStatus Win32JournalStore::listOf(const wchar_t* pattern, std::vector<Entry>& entries)
{
    entries.clear();
    if (root_.empty())
        return {};
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW((root_ + L"\\" + pattern).c_str(), &found));
    if (!find)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND ? TsStatus()
                                                                                                : lastError();
    do {
        const std::wstring name = found.cFileName;
        const bool finished = name.ends_with(kFinished);
        if ((!finished && !name.ends_with(kRunning)) || !isId(name.substr(0, name.size() - 4))
            || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        Entry entry {name.substr(0, kIdDigits), (std::uint64_t {found.nFileSizeHigh} << 32) | found.nFileSizeLow,
                     finished};
        if (!finished) {
            // The writer shares its entry for reading only: asking to write fails while it runs.
            const FileHandle probe(CreateFileW((root_ + L"\\" + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
            entry.running = !probe && GetLastError() == ERROR_SHARING_VIOLATION;
        }
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find.get(), &found));
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    // A finished entry whose rename was cut short is listed once, as finished.
    entries.erase(std::unique(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id == b.id; }),
                  entries.end());
    return {};
}

// Named by the time, so that names sort as the entries were made.
TsStatus Win32JournalStore::create(std::wstring& id)
{
    close();
    if (const TsStatus made = makeRoot(); !made)
        return made;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::uint64_t stamp = (std::uint64_t {now.dwHighDateTime} << 32) | now.dwLowDateTime;
    for (int tries = 0; tries < 100; ++tries, ++stamp) {
        if (!proceed())
            return refused();
        const std::wstring candidate = idOf(stamp);
        if (GetFileAttributesW(pathOf(candidate, true).c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        open_.reset(CreateFileW(pathOf(candidate, false).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (open_) {
            id = openId_ = candidate;
            return {};
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return lastError();
    }
    return TsStatus::failure(ERROR_FILE_EXISTS);
}

TsStatus Win32JournalStore::resume(const std::wstring& id, std::uint64_t length)
{
    close();
    if (!proceed())
        return refused();
    open_.reset(CreateFileW(pathOf(id, false).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr));
    if (!open_)
        return lastError();
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(length);
    if (!proceed())
        return refused();
    if (!SetFilePointerEx(open_.get(), at, nullptr, FILE_BEGIN) || !SetEndOfFile(open_.get())) {
        const TsStatus failed = lastError();
        close();
        return failed;
    }
    openId_ = id;
    return {};
}

TsStatus Win32JournalStore::append(const std::string& bytes)
{
    if (!open_)
        return TsStatus::failure(ERROR_INVALID_HANDLE);
    if (!proceed())
        return refused();
    LARGE_INTEGER end = {};
    DWORD written = 0;
    if (!SetFilePointerEx(open_.get(), end, nullptr, FILE_END)
        || !WriteFile(open_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return lastError();
    return written == bytes.size() ? TsStatus() : TsStatus::failure(ERROR_DISK_FULL);
}

TsStatus Win32JournalStore::flush()
{
    if (!open_)
        return TsStatus::failure(ERROR_INVALID_HANDLE);
    if (!proceed())
        return refused();
    return FlushFileBuffers(open_.get()) ? TsStatus() : lastError();
}

// Its last frame already says it ended; the name says it without reading it.
TsStatus Win32JournalStore::finish()
{
    if (!open_)
        return TsStatus::failure(ERROR_INVALID_HANDLE);
    const std::wstring id = openId_;
    close();
    if (readerId_ == id)
        reader_.reset();
    if (!proceed())
        return refused();
    return MoveFileExW(pathOf(id, false).c_str(), pathOf(id, true).c_str(), 0) ? TsStatus() : lastError();
}

void Win32JournalStore::close()
{
    open_.reset();
    openId_.clear();
}

TsStatus Win32JournalStore::openReader(const std::wstring& id)
{
    if (reader_ && readerId_ == id)
        return {};
    reader_.reset();
    readerId_.clear();
    for (const bool finished : {true, false}) {
        reader_.reset(CreateFileW(pathOf(id, finished).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
        if (reader_) {
            readerId_ = id;
            return {};
        }
    }
    return GetLastError() == ERROR_PATH_NOT_FOUND ? TsStatus::failure(ERROR_FILE_NOT_FOUND) : lastError();
}

TsStatus Win32JournalStore::size(const std::wstring& id, std::uint64_t& bytes)
{
    if (const TsStatus opened = openReader(id); !opened)
        return opened;
    LARGE_INTEGER length;
    if (!GetFileSizeEx(reader_.get(), &length))
        return lastError();
    bytes = static_cast<std::uint64_t>(length.QuadPart);
    return {};
}

TsStatus Win32JournalStore::readAt(const std::wstring& id, std::uint64_t offset, std::size_t size, std::string& bytes)
{
    if (const TsStatus opened = openReader(id); !opened)
        return opened;
    bytes.assign(size, '\0');
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!SetFilePointerEx(reader_.get(), at, nullptr, FILE_BEGIN)
        || !ReadFile(reader_.get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr))
        return lastError();
    return read == size ? TsStatus() : TsStatus::failure(ERROR_HANDLE_EOF);
}

TsStatus Win32JournalStore::remove(const std::wstring& id)
{
    if (readerId_ == id) {
        reader_.reset();
        readerId_.clear();
    }
    for (const bool finished : {true, false}) {
        if (!proceed())
            return refused();
        if (!DeleteFileW(pathOf(id, finished).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND
            && GetLastError() != ERROR_PATH_NOT_FOUND)
            return lastError();
    }
    return {};
}
