#pragma once
#include "support/TsStatus.h"
#include <string>

// True when a file (not a folder) exists at path.
TsStatus tsIsFileExist(const std::wstring& path, bool& result);
