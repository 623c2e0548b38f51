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

TsStatus Win32FolderFiles::copyFile(const std::wstring& source, const std::wstring& target)
{
    std::string ansiSource, ansiTarget;
    TsStatus status = tsToAnsiPath(source, ansiSource);
    if (status)
        status = tsToAnsiPath(target, ansiTarget);
    if (status && !CopyFileA(ansiSource.c_str(), ansiTarget.c_str(), FALSE))
        status = TsStatus::failure(GetLastError());
    return status;
}

namespace {

// Volume and index of the file at path: the same pair means the same file.
bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity)
{
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const FileHandle owner(file);
    return GetFileInformationByHandle(file, &identity) != FALSE;
}

} // namespace

TsStatus Win32FolderFiles::isSameFile(const std::wstring& first, const std::wstring& second, bool& result)
{
    std::string ansiFirst, ansiSecond;
    TsStatus status = tsToAnsiPath(first, ansiFirst);
    if (status)
        status = tsToAnsiPath(second, ansiSecond);
    if (!status)
        return status;
    BY_HANDLE_FILE_INFORMATION a, b;
    result = fileIdentity(ansiFirst, a) && fileIdentity(ansiSecond, b)
        && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
        && a.nFileIndexLow == b.nFileIndexLow;
    return {};
}
