#pragma once
#include "support/TsStatus.h"

#include <windows.h>

#include <string>
#include <vector>

// Text values and whole key trees under a root key, through the registry functions
// Windows XP already has. key is a path below root; name null is the key's default value.

// The value's text; fails with ERROR_FILE_NOT_FOUND when the key or the value is not there.
TsStatus tsReadRegText(HKEY root, const std::wstring& key, const wchar_t* name, std::wstring& result);

// The names of the key's values ("" for the default value) and of its subkeys; fails
// with ERROR_FILE_NOT_FOUND when the key is not there.
TsStatus tsListRegKey(HKEY root, const std::wstring& key, std::vector<std::wstring>& values,
                      std::vector<std::wstring>& subkeys);

// Sets the value as REG_SZ, making the key and the keys above it when they are missing.
TsStatus tsWriteRegText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text);

// Deletes the key with every key below it; a key that is not there is no failure.
TsStatus tsDeleteRegTree(HKEY root, const std::wstring& key);
