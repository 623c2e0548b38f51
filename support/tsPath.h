#pragma once
#include "support/TsStatus.h"
#include <string>

// Path chores on Windows paths held as text; they never touch the file system.

// Joins a folder and a file name with exactly one backslash between them. Fails for
// an empty file name, which would name the folder itself, and for an empty folder,
// which would leave the system to choose where the file is.
TsStatus tsBuildFileName(const std::wstring& folder, const std::wstring& fileName, std::wstring& result);

// The part after the last backslash (or drive colon); empty when the path ends in one.
TsStatus tsGetFileName(const std::wstring& path, std::wstring& result);

// The folder part before the file name, without a trailing backslash except for a
// drive root ("C:\"); empty for a bare file name.
TsStatus tsGetFilePath(const std::wstring& path, std::wstring& result);

// The path without trailing backslashes: "C:\" gives "C:".
TsStatus tsRemoveBackslash(const std::wstring& path, std::wstring& result);

// The path in its plain form, as the system reduces it before it reads the file: the
// device and native prefixes "\\?\", "\\.\" and "\??\" (either slash, repeated) go,
// "UNC\" after them becomes "\\", and forward slashes become backslashes. A device path
// that names neither a drive nor a server ("\\?\GLOBALROOT\...") keeps its prefix, so
// it still starts with "\\" like a server path.
TsStatus tsPlainPath(const std::wstring& path, std::wstring& result);

// True unless the path starts at a drive ("C:") or a root or server ("\").
TsStatus tsIsRelativePath(const std::wstring& path, bool& result);
