#include "support/tsRegisterAppPath.h"

#include "support/AppInfo.h"
#include "support/Registry.h"
#include "support/tsPath.h"

#include <string>

TsStatus tsRegisterAppPath()
{
    std::wstring exe;
    if (const TsStatus status = tsGetExePath(exe); !status)
        return status;
    std::wstring name, folder;
    // Neither can fail: they only split the text.
    (void)tsGetFileName(exe, name);
    (void)tsGetFilePath(exe, folder);
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
    TsStatus status = tsWriteRegText(HKEY_CURRENT_USER, key, nullptr, exe);
    if (status)
        status = tsWriteRegText(HKEY_CURRENT_USER, key, L"Path", folder);
    return status;
}
