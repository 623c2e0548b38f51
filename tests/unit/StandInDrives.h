#pragma once
#include <windows.h>

// What the system would say of the drives: Y: and Z: are mapped shares, the rest local;
// the current folder is on Y:.
inline UINT WINAPI standInDriveType(LPCWSTR root)
{
    const wchar_t letter = root ? static_cast<wchar_t>(root[0] & ~0x20) : L'Y';
    return letter == L'Y' || letter == L'Z' ? DRIVE_REMOTE : DRIVE_FIXED;
}
