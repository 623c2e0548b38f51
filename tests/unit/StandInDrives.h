#pragma once
#include <windows.h>

#include <string>

// What the system would say of the drives: Y: and Z: are mapped shares, the rest local.
inline UINT WINAPI standInDriveType(LPCWSTR root)
{
    const std::wstring drive = root;
    return drive == L"Y:\\" || drive == L"Z:\\" ? DRIVE_REMOTE : DRIVE_FIXED;
}
