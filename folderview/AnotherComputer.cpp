#include "folderview/AnotherComputer.h"

#include "support/tsPath.h"

bool onAnotherComputer(const std::wstring& file, DriveTypeQuery driveType)
{
    bool server = false;
    (void)tsIsServerPath(file, server); // cannot fail
    if (server)
        return true;
    // "\\?\Y:\..." names the same drive as "Y:\...".
    const std::size_t drive = file.rfind(L"\\\\?\\", 0) == 0 ? 4 : 0;
    const bool letter = file.size() >= drive + 2 && file[drive + 1] == L':' && (file[drive] | 0x20) >= L'a'
        && (file[drive] | 0x20) <= L'z';
    return letter && driveType((file.substr(drive, 2) + L"\\").c_str()) == DRIVE_REMOTE;
}

bool readsWithoutAsking(const std::wstring& file, TextOrigin origin, DriveTypeQuery driveType)
{
    return origin == TextOrigin::User || !onAnotherComputer(file, driveType);
}
