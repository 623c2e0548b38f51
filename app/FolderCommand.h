#pragma once
#include "support/TsStatus.h"

#include <string>
#include <vector>

// The folders' right-click command "Оформить в Quenmark…", registered for the current
// user only (HKEY_CURRENT_USER\Software\Classes needs no administrator): on a folder,
// and on the background of an open folder. Paths of keys are below HKEY_CURRENT_USER.
// Every copy of the program reads and changes the keys under one lock, so that two
// copies switching at once never meet half-way.

// One text value the command needs; name null is the key's default value.
struct RegistryText {
    std::wstring key;
    const wchar_t* name;
    std::wstring text;
};

// Every value the two key trees hold when the command starts exe.
std::vector<RegistryText> folderCommandTexts(const std::wstring& exe);

// Whether the registry holds the command for exe, as the shell would show it: both
// trees whole, nothing in them that hides the verb, and the exe the same file (letter
// case ignored, short and long forms alike). A copy elsewhere, or one moved since,
// registered another.
bool isFolderCommandOf(const std::wstring& exe);

// What switching did.
struct FolderCommandSwitch {
    enum class Kind {
        Added,
        Removed,
        NotAdded, // status says why and failedKey names the key; nothing of the command is left
        NotRemoved, // status says why and failedKey names the key
        Foreign, // a tree holds what this program did not write; nothing was changed
    };
    Kind kind = Kind::Added;
    TsStatus status;
    std::wstring failedKey;
};

// Removes exe's command when the registry holds it; otherwise writes both trees, cleared
// first of whatever they held (a stale command of another copy goes whole). A tree that
// holds another command, or values or subkeys this program does not write, is replaced
// only when replaceForeign; without it nothing is changed (Foreign).
FolderCommandSwitch switchFolderCommand(const std::wstring& exe, bool replaceForeign);
