#pragma once
#include "support/TsStatus.h"

#include <string>

// What the program says about itself, read from its version resource so that the
// version number has one source.
struct AppInfo {
    std::wstring title; // ProductName
    std::wstring version; // ProductVersion
    std::wstring description; // FileDescription
    std::wstring copyright; // LegalCopyright
};

// The running exe's version resource; fields it lacks stay empty.
AppInfo readAppInfo();

// The running exe's full path.
TsStatus tsGetExePath(std::wstring& result);
