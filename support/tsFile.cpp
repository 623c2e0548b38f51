#include "support/tsFile.h"

#include "support/tsAnsi.h"

#include <windows.h>

TsStatus tsIsFileExist(const std::wstring& path, bool& result)
{
    std::string ansiPath;
    if (const TsStatus status = tsToAnsi(path, ansiPath); !status)
        return status;
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    result = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return {};
}
