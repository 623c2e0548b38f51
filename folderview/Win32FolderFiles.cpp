#include "folderview/Win32FolderFiles.h"

#include "support/tsFile.h"
#include "support/tsProfile.h"

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
