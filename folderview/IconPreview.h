#pragma once
#include <string>

// Where the icon text that a window shows came from.
enum class IconOrigin { SettingsFile, User };

// The file that an icon path in the folder's settings names: a relative path is taken
// from the folder, as the shell takes it.
std::wstring iconFileInFolder(const std::wstring& path, const std::wstring& folder);

// Whether a window may read the icon file without the user asking. A file on another
// computer (a server path, or a drive the system says is remote) that the settings file
// names waits for the user: opening a folder's settings must reach no network on its
// own. A file the user typed or picked is read.
bool readsWithoutAsking(const std::wstring& file, IconOrigin origin, bool onRemoteDrive);
