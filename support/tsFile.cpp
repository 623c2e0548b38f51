#include "support/tsFile.h"

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
