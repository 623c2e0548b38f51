#include "folderview/AnotherComputer.h"

#include "support/tsPath.h"

bool onAnotherComputer(const std::wstring& file, DriveTypeQuery driveType)
{
    std::wstring plain;
    (void)tsPlainPath(file, plain); // cannot fail
    // A server, or a device path that names no drive (it may lead to a server).
    if (plain.rfind(L"\\\\", 0) == 0)
        return true;
    const bool letter = plain.size() >= 2 && plain[1] == L':' && (plain[0] | 0x20) >= L'a' && (plain[0] | 0x20) <= L'z';
    if (letter)
        return driveType((plain.substr(0, 2) + L"\\").c_str()) == DRIVE_REMOTE;
    // "\\x.jpg" is on the drive of the current folder, which may be a mapped share.
    return !plain.empty() && plain[0] == L'\\' && driveType(nullptr) == DRIVE_REMOTE;
}

bool readsWithoutAsking(const std::wstring& file, TextOrigin origin, DriveTypeQuery driveType)
{
    return origin == TextOrigin::User || !onAnotherComputer(file, driveType);
}
