#pragma once
#include "support/TsStatus.h"

#include <string>
#include <vector>

// The folders' right-click command "Оформить в Quenmark…", registered for the current
// user only (HKEY_CURRENT_USER\Software\Classes needs no administrator): on a folder,
// and on the background of an open folder. Paths of keys are below HKEY_CURRENT_USER.

// One text value the command needs; name null is the key's default value.
struct RegistryText {
    std::wstring key;
    const wchar_t* name;
    std::wstring text;
};

// Every value the two key trees hold when the command starts exe.
std::vector<RegistryText> folderCommandTexts(const std::wstring& exe);

// Whether the registry holds the command as it is for exe: a copy elsewhere, or one
// moved since, registered another.
bool isFolderCommandOf(const std::wstring& exe);

// Writes both trees, cleared first of whatever they held. At the first failure it
// deletes both again, so that no half of the command is left, and names the key in
// failedKey.
TsStatus addFolderCommand(const std::wstring& exe, std::wstring& failedKey);

// Deletes the two trees and nothing else; failedKey names the first that refused.
TsStatus removeFolderCommand(std::wstring& failedKey);
