#pragma once
#include "support/TsStatus.h"
#include <string>

// Whether a file exists at path. Only "no such file or folder" answers false: any
// other failure to tell (a path too long, access denied, a folder of that name) is a
// failure, so that no caller takes an unreadable file for a missing one.
TsStatus tsIsFileExist(const std::wstring& path, bool& result);

// Whether the file starts with the UTF-16 byte order mark, as a Unicode profile file does.
TsStatus tsIsUnicodeFile(const std::wstring& path, bool& result);

// Whether path names a folder that is there (a file of that name is none).
bool tsIsFolder(const std::wstring& path);

// The one spelling of a folder, so that every spelling of it names one folder: full, in
// its plain form (no "\\?\"), each name as the folder's own entry spells it (a short
// name becomes the long one, other letter case the stored one), without a trailing
// backslash but a drive root's ("C:\"). The names below a part that is not there stay
// as given.
std::wstring tsCanonicalFolder(const std::wstring& folder);
