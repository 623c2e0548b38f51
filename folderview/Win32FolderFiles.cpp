#include "folderview/Win32FolderFiles.h"

#include "support/Handles.h"
#include "support/tsAnsi.h"
#include "support/tsFile.h"
#include "support/tsProfile.h"

#include <windows.h>

TsStatus Win32FolderFiles::isFileExist(const std::wstring& path, bool& result)
{
    return tsIsFileExist(path, result);
}

TsStatus Win32FolderFiles::readString(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultText, const std::wstring& path, std::wstring& result)
{
    return tsReadStringFromINI(section, key, defaultText, path, 0, result);
}

TsStatus Win32FolderFiles::readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                                    const std::wstring& path, std::int32_t& result)
{
    return tsReadLongFromINI(section, key, defaultValue, path, 0, result);
}

TsStatus Win32FolderFiles::isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                                      bool& result)
{
    return tsIsINIKeyExist2(section, key, path, 0, false, result);
}

TsStatus Win32FolderFiles::writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                                    const std::wstring& path)
{
    return tsWriteINI(section, key, value, path);
}

TsStatus Win32FolderFiles::getAttributes(const std::wstring& path, std::uint32_t& result)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TsStatus::failure(GetLastError());
    result = attributes;
    return {};
}

TsStatus Win32FolderFiles::setAttributes(const std::wstring& path, std::uint32_t attributes)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    if (!SetFileAttributesA(ansiPath.c_str(), attributes))
        return TsStatus::failure(GetLastError());
    return {};
}

namespace {

// The file at path opened to be written from its start. An existing hidden or system file
// keeps those bits: the system replaces one only when they are asked for again.
FileHandle openToReplace(const std::string& ansiPath)
{
    const DWORD existing = GetFileAttributesA(ansiPath.c_str());
    const DWORD kept =
        existing == INVALID_FILE_ATTRIBUTES ? 0 : existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return FileHandle(CreateFileA(ansiPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kept, nullptr));
}

// A write that stops short of its bytes ran out of room.
TsStatus writeAll(HANDLE file, const char* bytes, DWORD size)
{
    DWORD written = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr))
        return TsStatus::failure(GetLastError());
    return written == size ? TsStatus() : TsStatus::failure(ERROR_DISK_FULL);
}

} // namespace

TsStatus Win32FolderFiles::copyFile(const std::wstring& source, const std::wstring& target)
{
    std::string ansiSource, ansiTarget;
    TsStatus status = tsToAnsiPath(source, ansiSource);
    if (status)
        status = tsToAnsiPath(target, ansiTarget);
    if (!status)
        return status;
    const FileHandle from(CreateFileA(ansiSource.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!from)
        return TsStatus::failure(GetLastError());
    const FileHandle to = openToReplace(ansiTarget);
    if (!to)
        return TsStatus::failure(GetLastError());
    std::string buffer(64 * 1024, '\0');
    for (DWORD read = 1; read != 0;) {
        if (!ReadFile(from.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return TsStatus::failure(GetLastError());
        if (status = writeAll(to.get(), buffer.data(), read); !status)
            return status;
    }
    return FlushFileBuffers(to.get()) ? TsStatus() : TsStatus::failure(GetLastError());
}

namespace {

TsStatus identityOf(const std::wstring& path, FileIdentity& identity)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const FileHandle file(CreateFileA(ansiPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file || !GetFileInformationByHandle(file.get(), &information))
        return TsStatus::failure(GetLastError());
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = (std::uint64_t {information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    return Win32FolderFiles().fullPath(path, identity.fullPath);
}

} // namespace

bool isSameIdentity(const FileIdentity& first, const FileIdentity& second)
{
    if (first.index == 0 || second.index == 0)
        return lstrcmpiW(first.fullPath.c_str(), second.fullPath.c_str()) == 0;
    return first.volume == second.volume && first.index == second.index;
}

TsStatus Win32FolderFiles::isSameFile(const std::wstring& first, const std::wstring& second, bool& result)
{
    FileIdentity a, b;
    result = identityOf(first, a) && identityOf(second, b) && isSameIdentity(a, b);
    return {};
}

TsStatus Win32FolderFiles::canRead(const std::wstring& path)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const FileHandle file(CreateFileA(ansiPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    return file ? TsStatus() : TsStatus::failure(GetLastError());
}

TsStatus Win32FolderFiles::makeTempFile(const std::wstring& folder, std::wstring& path)
{
    std::string ansiFolder;
    if (const TsStatus status = tsToAnsiPath(folder, ansiFolder); !status)
        return status;
    char name[MAX_PATH];
    if (!GetTempFileNameA(ansiFolder.c_str(), "qmk", 0, name))
        return TsStatus::failure(GetLastError());
    // Hidden from the start, so the user never sees it; a visible one serves as well.
    (void)SetFileAttributesA(name, FILE_ATTRIBUTE_HIDDEN);
    return tsFromAnsi(name, path);
}

TsStatus Win32FolderFiles::makeFile(const std::wstring& path)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const FileHandle file(
        CreateFileA(ansiPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
    return file ? TsStatus() : TsStatus::failure(GetLastError());
}

TsStatus Win32FolderFiles::moveFile(const std::wstring& from, const std::wstring& to)
{
    std::string ansiFrom, ansiTo;
    TsStatus status = tsToAnsiPath(from, ansiFrom);
    if (status)
        status = tsToAnsiPath(to, ansiTo);
    if (status && !MoveFileExA(ansiFrom.c_str(), ansiTo.c_str(), MOVEFILE_REPLACE_EXISTING))
        status = TsStatus::failure(GetLastError());
    return status;
}

// ReplaceFile keeps what a rename over the file would drop: its security, short name,
// object id and named streams. A plain rename serves where ReplaceFile cannot: there is
// no file to replace; the file system refuses the call (some network servers), which
// leaves both names as they were; or the call failed after taking the replaced file from
// its name (with no backup name, the old file is then gone or under a name of the
// system's choosing), and only the rename puts a file there again.
TsStatus Win32FolderFiles::replaceFile(const std::wstring& replacement, const std::wstring& replaced)
{
    std::string ansiReplacement, ansiReplaced;
    TsStatus status = tsToAnsiPath(replacement, ansiReplacement);
    if (status)
        status = tsToAnsiPath(replaced, ansiReplaced);
    if (!status)
        return status;
    // Wine's ReplaceFile leaves an empty file of its own in the folder when the replaced
    // file is open without delete sharing, so the open it would fail on is tried first.
    if (const FileHandle probe(CreateFileA(ansiReplaced.c_str(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        !probe && GetLastError() == ERROR_SHARING_VIOLATION)
        return TsStatus::failure(ERROR_SHARING_VIOLATION);
    if (ReplaceFileA(ansiReplaced.c_str(), ansiReplacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return {};
    switch (const DWORD error = GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
    case ERROR_NOT_SUPPORTED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: break;
    default: return TsStatus::failure(error);
    }
    if (!MoveFileExA(ansiReplacement.c_str(), ansiReplaced.c_str(), MOVEFILE_REPLACE_EXISTING))
        return TsStatus::failure(GetLastError());
    return {};
}

TsStatus Win32FolderFiles::readFile(const std::wstring& path, std::string& result)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const FileHandle file(
        CreateFileA(ansiPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
        return TsStatus::failure(GetLastError());
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return TsStatus::failure(GetLastError());
    bytes.resize(read);
    result = std::move(bytes);
    return {};
}

TsStatus Win32FolderFiles::writeFile(const std::wstring& path, const std::string& bytes)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    const FileHandle file = openToReplace(ansiPath);
    if (!file)
        return TsStatus::failure(GetLastError());
    if (const TsStatus status = writeAll(file.get(), bytes.data(), static_cast<DWORD>(bytes.size())); !status)
        return status;
    return FlushFileBuffers(file.get()) ? TsStatus() : TsStatus::failure(GetLastError());
}

TsStatus Win32FolderFiles::deleteFile(const std::wstring& path)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsiPath(path, ansiPath); !status)
        return status;
    if (!DeleteFileA(ansiPath.c_str()))
        return TsStatus::failure(GetLastError());
    return {};
}

TsStatus Win32FolderFiles::readSections(const std::string& bytes, std::vector<ProfileSection>& result)
{
    return tsReadProfileCopy(bytes, result);
}

TsStatus Win32FolderFiles::freeSpace(const std::wstring& folder, std::uint64_t& bytes)
{
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return TsStatus::failure(GetLastError());
    bytes = available.QuadPart;
    return {};
}

TsStatus Win32FolderFiles::fullPath(const std::wstring& path, std::wstring& result)
{
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return TsStatus::failure(GetLastError());
        if (length < full.size()) {
            full.resize(length);
            result = std::move(full);
            return {};
        }
        full.resize(length);
    }
}
