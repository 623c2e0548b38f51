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
// A folder's file holds its records one after another, each followed by its length, so
// that the latest is found from the file's end. A command adds its record after the
// others (a refused one's is cut off again), for a fraction of what a new file costs. A
// file that already holds three records' worth is replaced instead, by a staged file
// beside it, out of the pattern that list reads, which keep renames over it.
constexpr wchar_t kStaged[] = L".staged";
constexpr std::size_t kLengthBytes = 8;
constexpr std::uint64_t kRecordsPerFile = 3;

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

// Reads size bytes at offset; ERROR_INVALID_DATA when the file ends before.
TsStatus readAt(HANDLE file, std::uint64_t offset, void* bytes, std::uint64_t size)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)
        || !ReadFile(file, bytes, static_cast<DWORD>(size), &read, nullptr))
        return lastError();
    return read == size ? TsStatus() : TsStatus::failure(ERROR_INVALID_DATA);
}

// The last record of a file, whose length ends it. One still open for writing (a command
// that ended by an exception) reads as it stands: cut short, it fails its checksum. An
// empty file is one whose command ended before it wrote.
TsStatus readLatest(const std::wstring& path, std::string& bytes)
{
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
        return GetLastError() == ERROR_PATH_NOT_FOUND ? TsStatus::failure(ERROR_FILE_NOT_FOUND) : lastError();
    const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
    if (fileSize == 0)
        return TsStatus::failure(ERROR_FILE_NOT_FOUND);
    unsigned char length[kLengthBytes];
    if (fileSize < kLengthBytes)
        return TsStatus::failure(ERROR_INVALID_DATA);
    if (const TsStatus read = readAt(file.get(), fileSize - kLengthBytes, length, kLengthBytes); !read)
        return read;
    std::uint64_t recordSize = 0;
    for (std::size_t i = 0; i < kLengthBytes; ++i)
        recordSize |= std::uint64_t {length[i]} << (8 * i);
    if (recordSize > fileSize - kLengthBytes)
        return TsStatus::failure(ERROR_INVALID_DATA);
    if (recordSize > 0x7FFFFFFF)
        return TsStatus::failure(ERROR_FILE_TOO_LARGE);
    bytes.assign(static_cast<std::size_t>(recordSize), '\0');
    return readAt(file.get(), fileSize - kLengthBytes - recordSize, bytes.data(), recordSize);
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

// A staged file first: it outlives only a run that ended in the middle of a command.
TsStatus Win32RecordStore::read(const std::wstring& name, std::string& bytes)
{
    if (root().empty())
        return TsStatus::failure(ERROR_FILE_NOT_FOUND);
    const std::wstring path = root() + L"\\" + name;
    const TsStatus staged = readLatest(path + kStaged, bytes);
    return staged.error() == ERROR_FILE_NOT_FOUND ? readLatest(path, bytes) : staged;
}

// Opens the file that takes the command's record: the folder's, at its end, or a staged
// file in its place.
TsStatus Win32RecordStore::open(const std::wstring& name, std::uint64_t recordSize)
{
    const std::wstring path = root() + L"\\" + name;
    open_.reset(CreateFileW(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            0, nullptr));
    LARGE_INTEGER size;
    if (!open_ || !GetFileSizeEx(open_.get(), &size)) {
        const TsStatus failed = lastError();
        open_.reset();
        return failed;
    }
    compacting_ = static_cast<std::uint64_t>(size.QuadPart) > kRecordsPerFile * (recordSize + kLengthBytes);
    frameAt_ = compacting_ ? 0 : static_cast<std::uint64_t>(size.QuadPart);
    frameSize_ = 0;
    if (compacting_) {
        open_.reset(CreateFileW((path + kStaged).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
        if (!open_)
            return lastError();
    }
    openName_ = name;
    return {};
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
    if (!open_ || name != openName_) {
        // A file still open is another folder's, whose command never ended: what it
        // staged stays for read to find.
        open_.reset();
        if (const TsStatus opened = open(name, bytes.size()); !opened)
            return opened;
    }
    // Each call writes the command's record whole, over what it wrote before.
    char length[kLengthBytes];
    for (std::size_t i = 0; i < kLengthBytes; ++i)
        length[i] = static_cast<char>(std::uint64_t {bytes.size()} >> (8 * i) & 0xFF);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(frameAt_);
    DWORD written = 0, lengthWritten = 0;
    TsStatus status;
    if (!SetFilePointerEx(open_.get(), at, nullptr, FILE_BEGIN)
        || !WriteFile(open_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        || !WriteFile(open_.get(), length, sizeof length, &lengthWritten, nullptr))
        status = lastError();
    else if (written != bytes.size() || lengthWritten != sizeof length)
        status = TsStatus::failure(ERROR_DISK_FULL);
    else if (bytes.size() + kLengthBytes < frameSize_ && !SetEndOfFile(open_.get()))
        status = lastError();
    if (!status) {
        unstage(name);
        return status;
    }
    frameSize_ = bytes.size() + kLengthBytes;
    return {};
}

TsStatus Win32RecordStore::keep(const std::wstring& name)
{
    if (!open_ || name != openName_)
        return TsStatus::failure(ERROR_FILE_NOT_FOUND);
    const std::wstring path = root() + L"\\" + name;
    TsStatus kept;
    if (compacting_ && !renameOpenFile(open_.get(), path)) {
        open_.reset(); // MoveFileEx opens it again
        if (!MoveFileExW((path + kStaged).c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            kept = lastError();
            DeleteFileW((path + kStaged).c_str());
        }
    }
    open_.reset();
    if (kept && listed_) {
        std::erase_if(entries_, [&](const Entry& entry) { return entry.name == name; });
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        entries_.push_back(
            {name, frameAt_ + frameSize_, (std::uint64_t {now.dwHighDateTime} << 32) | now.dwLowDateTime});
    }
    return kept;
}

void Win32RecordStore::unstage(const std::wstring& name)
{
    if (root().empty() || name.empty())
        return;
    const std::wstring path = root() + L"\\" + name;
    if (!open_ || name != openName_) {
        (void)DeleteFileW((path + kStaged).c_str()); // one a run left in the middle of a command
        return;
    }
    if (compacting_) {
        open_.reset();
        (void)DeleteFileW((path + kStaged).c_str());
        return;
    }
    // The folder's file goes back to the records it held; one the command made goes.
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(frameAt_);
    if (frameAt_ > 0)
        (void)(SetFilePointerEx(open_.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(open_.get()));
    open_.reset();
    if (frameAt_ == 0)
        (void)DeleteFileW(path.c_str());
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
