#pragma once
#include <windows.h>

#include <string>

// Where a file name that a window shows came from.
enum class TextOrigin { SettingsFile, User };

// What the system says a drive is, given its root ("Y:\"), or null for the current
// folder's: GetDriveTypeW, or a stand-in.
using DriveTypeQuery = UINT(WINAPI*)(LPCWSTR root);

// Whether the file is on another computer. The path is reduced to its plain form first
// (tsPlainPath), so that every spelling of one file gets one answer: a server path
// (\\server\share\...), a device path naming no drive, or a file on a drive the system
// reports as remote (a mapped share) is. Asking the system about a drive reaches no network.
bool onAnotherComputer(const std::wstring& file, DriveTypeQuery driveType = GetDriveTypeW);

// Whether a window may read a file that the folder's settings name (the icon, the
// picture) without the user asking. A file on another computer that the settings file
// names waits for the user: opening a folder's settings must reach no network on its
// own. A file the user typed or picked is read. The one rule for the preview and the
// icon dialog alike.
bool readsWithoutAsking(const std::wstring& file, TextOrigin origin, DriveTypeQuery driveType = GetDriveTypeW);
