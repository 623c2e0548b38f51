#include "support/tsFile.h"

#include "support/Handles.h"
#include "support/tsAnsi.h"

#include <windows.h>

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
