#include "undo/Win32RecordStore.h"

#include "support/Handles.h"
#include "support/SystemFunction.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

namespace {

constexpr wchar_t kRecordPattern[] = L"\\*.undo";

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
    const FileHandle file(CreateFileW((root() + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
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

// Not flushed to the disk: a record that a power cut leaves short fails its checksum and
// is ignored, and flushing would double Apply's time.
TsStatus Win32RecordStore::write(const std::wstring& name, const std::string& bytes)
{
    if (!rootMade_) {
        if (const TsStatus made = makeRoot(); !made)
            return made;
        rootMade_ = true;
    }
    // One temporary name per record: the folder is the user's alone, and the name stays
    // out of the "*.undo" that list reads.
    const std::wstring path = root() + L"\\" + name, temp = path + L".new";
    TsStatus status;
    {
        const FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            status = lastError();
        else if (written != bytes.size())
            status = TsStatus::failure(ERROR_DISK_FULL);
    }
    if (status && !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        status = lastError();
    if (!status)
        DeleteFileW(temp.c_str());
    return status;
}

TsStatus Win32RecordStore::remove(const std::wstring& name)
{
    if (root().empty())
        return {};
    if (!DeleteFileW((root() + L"\\" + name).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND
        && GetLastError() != ERROR_PATH_NOT_FOUND)
        return lastError();
    return {};
}

TsStatus Win32RecordStore::list(std::vector<Entry>& entries)
{
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
    return {};
}
