#pragma once
#include "support/TsStatus.h"
#include <string>

// The one place where text crosses between the program's Unicode and the system's
// 8-bit (ANSI) code page, which the folder's settings file and the file-attribute
// calls use. A text the code page cannot hold is refused rather than written with
// '?' or a look-alike in place of a character, which would name another file.
TsStatus tsToAnsi(const std::wstring& text, std::string& result);
TsStatus tsFromAnsi(const std::string& text, std::wstring& result);
