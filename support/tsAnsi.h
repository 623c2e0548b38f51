#pragma once
#include "support/TsStatus.h"
#include <string>

// The one place where text crosses between the program's Unicode and the system's
// 8-bit (ANSI) code page, which the folder's settings file and the file-attribute
// calls use. A text the code page cannot hold is refused rather than written with
// '?' or a look-alike in place of a character, which would name another file.
TsStatus tsToAnsi(const std::wstring& text, std::string& result);
// A path for the ANSI file functions, which take at most MAX_PATH - 1 characters:
// a longer one is refused here rather than cut or misread by the system.
TsStatus tsToAnsiPath(const std::wstring& path, std::string& result);
TsStatus tsFromAnsi(const std::string& text, std::wstring& result);
