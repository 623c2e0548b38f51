#include "undo/Win32RecordStore.h"

#include "support/Handles.h"
#include "support/SystemFunction.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>
#include <winternl.h>

#include <cstddef>
#include <cstring>

namespace {

constexpr wchar_t kRecordPattern[] = L"\\*.undo";
// Beside the record it will replace, out of the pattern that list reads.
constexpr wchar_t kStaged[] = L".staged";

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

// A record still open for writing (a command that ended by an exception) reads as it
// stands: cut short, it fails its checksum.
TsStatus readWhole(const std::wstring& path, std::string& bytes)
{
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
        return GetLastError() == ERROR_PATH_NOT_FOUND ? TsStatus::failure(ERROR_FILE_NOT_FOUND) : lastError();
    if (size.QuadPart > 0x7FFFFFFF)
        return TsStatus::failure(ERROR_FILE_TOO_LARGE);
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return lastError();
    bytes.resize(read);
    return {};
}

// Renames the open file over the one at path. Through its handle the system neither
// opens the file again by its name nor opens the one it replaces: the rename then costs
// a third of MoveFileEx's. False when the system would not; MoveFileEx says why.
bool renameOpenFile(HANDLE file, const std::wstring& path)
{
    // The layout of the system's FILE_RENAME_INFORMATION, which only the driver kit declares.
    struct RenameInformation {
        BOOLEAN replaceIfExists;
        HANDLE rootDirectory;
        ULONG nameBytes;
        WCHAR name[1];
    };
    using SetInformation = LONG NTAPI(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
    constexpr int kFileRenameInformation = 10;
    const auto setInformation = systemFunction<SetInformation>(L"ntdll.dll", "NtSetInformationFile");
    const std::wstring target = path.starts_with(L"\\\\") ? L"\\??\\UNC" + path.substr(1) : L"\\??\\" + path;
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(offsetof(RenameInformation, name) + nameBytes);
    auto* rename = reinterpret_cast<RenameInformation*>(buffer.data());
    rename->replaceIfExists = TRUE;
    rename->nameBytes = static_cast<ULONG>(nameBytes);
    std::memcpy(rename->name, target.data(), nameBytes);
    IO_STATUS_BLOCK done;
    return setInformation
        && setInformation(file, &done, rename, static_cast<ULONG>(buffer.size()), kFileRenameInformation) >= 0;
}

} // namespace

// Empty while the system cannot say where the user's folder is: every use then fails.
const std::wstring& Win32RecordStore::root() const
{
    if (!root_.empty())
        return root_;
    using GetFolderPath = HRESULT WINAPI(HWND, int, HANDLE, DWORD, LPWSTR);
    const auto getPath = systemFunction<GetFolderPath>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH];
    if (getPath && getPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path) == S_OK)
        root_ = std::wstring(path) + L"\\Quenmark";
    return root_;
}

// Made with an access list that lets only the user in, inherited by every record, since
// a record holds copies of the user's files.
TsStatus Win32RecordStore::makeRoot()
{
    if (root().empty())
        return TsStatus::failure(ERROR_PATH_NOT_FOUND);
    const DWORD attributes = GetFileAttributesW(root_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? TsStatus() : TsStatus::failure(ERROR_DIRECTORY);
    std::wstring sid;
    if (const TsStatus found = userSid(sid); !found)
        return found;
    const std::wstring access = L"D:P(A;OICI;FA;;;" + sid + L")";
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(access.c_str(), SDDL_REVISION_1,
                                                              &security.lpSecurityDescriptor, nullptr))
        return lastError();
    const BOOL made = CreateDirectoryW(root_.c_str(), &security);
    const DWORD error = GetLastError();
    LocalFree(security.lpSecurityDescriptor);
    return made || error == ERROR_ALREADY_EXISTS ? TsStatus() : TsStatus::failure(error);
}

TsStatus Win32RecordStore::read(const std::wstring& name, std::string& bytes)
{
    if (root().empty())
        return TsStatus::failure(ERROR_FILE_NOT_FOUND);
    const std::wstring path = root() + L"\\" + name;
    const TsStatus staged = readWhole(path + kStaged, bytes);
    return staged.error() == ERROR_FILE_NOT_FOUND ? readWhole(path, bytes) : staged;
}

// Not flushed to the disk: a record that a power cut leaves short fails its checksum and
// is ignored, and flushing would double Apply's time.
TsStatus Win32RecordStore::stage(const std::wstring& name, const std::string& bytes)
{
    if (!rootMade_) {
        if (const TsStatus made = makeRoot(); !made)
            return made;
        rootMade_ = true;
    }
    if (!staged_ || name != stagedName_) {
        unstage(stagedName_);
        staged_.reset(CreateFileW((root() + L"\\" + name + kStaged).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                  nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!staged_)
            return lastError();
        stagedName_ = name;
        stagedSize_ = 0;
    }
    // Each call writes the record whole, from its first byte.
    DWORD written = 0;
    TsStatus status;
    if (stagedSize_ > 0 && SetFilePointer(staged_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        status = lastError();
    else if (!WriteFile(staged_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        status = lastError();
    else if (written != bytes.size())
        status = TsStatus::failure(ERROR_DISK_FULL);
    else if (bytes.size() < stagedSize_ && !SetEndOfFile(staged_.get()))
        status = lastError();
    if (!status) {
        unstage(name);
        return status;
    }
    stagedSize_ = bytes.size();
    return {};
}

TsStatus Win32RecordStore::keep(const std::wstring& name)
{
    if (!staged_ || name != stagedName_)
        return TsStatus::failure(ERROR_FILE_NOT_FOUND);
    const std::wstring path = root() + L"\\" + name;
    const bool renamed = renameOpenFile(staged_.get(), path);
    staged_.reset();
    if (!renamed && !MoveFileExW((path + kStaged).c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const TsStatus failed = lastError();
        DeleteFileW((path + kStaged).c_str());
        return failed;
    }
    if (listed_) {
        std::erase_if(entries_, [&](const Entry& entry) { return entry.name == name; });
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        entries_.push_back({name, stagedSize_, (std::uint64_t {now.dwHighDateTime} << 32) | now.dwLowDateTime});
    }
    return {};
}

void Win32RecordStore::unstage(const std::wstring& name)
{
    if (name == stagedName_)
        staged_.reset();
    if (!root().empty() && !name.empty())
        DeleteFileW((root() + L"\\" + name + kStaged).c_str());
}

TsStatus Win32RecordStore::remove(const std::wstring& name)
{
    if (root().empty())
        return {};
    unstage(name);
    if (!DeleteFileW((root() + L"\\" + name).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND
        && GetLastError() != ERROR_PATH_NOT_FOUND)
        return lastError();
    std::erase_if(entries_, [&](const Entry& entry) { return entry.name == name; });
    return {};
}

TsStatus Win32RecordStore::list(std::vector<Entry>& entries)
{
    if (listed_) {
        entries = entries_;
        return {};
    }
    entries.clear();
    if (root().empty())
        return {};
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW((root() + kRecordPattern).c_str(), &found));
    if (!find)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND ? TsStatus()
                                                                                                : lastError();
    do {
        entries.push_back(
            {found.cFileName, (std::uint64_t {found.nFileSizeHigh} << 32) | found.nFileSizeLow,
             (std::uint64_t {found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find.get(), &found));
    entries_ = entries;
    listed_ = true;
    return {};
}
