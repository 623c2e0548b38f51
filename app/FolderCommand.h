#pragma once
#include "support/TsStatus.h"

#include <windows.h>

#include <string>
#include <vector>

// The folders' right-click command "Оформить в Quenmark…", registered for the current
// user only (HKEY_CURRENT_USER\Software\Classes needs no administrator): on a folder,
// and on the background of an open folder. On a folder the verb is also a drop target,
// a class whose server is the exe, so that a selection of folders reaches one copy of
// the program in one call. Paths of keys are below HKEY_CURRENT_USER.
// Every copy of the program reads and changes the keys under one lock, so that two
// copies switching at once never meet half-way.

// The drop target's class, as the registry names it and as COM knows it.
inline constexpr wchar_t kSelectionClass[] = L"{B67171CC-AA96-4199-A1DF-D0DA4EF561F2}";
inline constexpr GUID kSelectionClassId = {
    0xB67171CC, 0xAA96, 0x4199, {0xA1, 0xDF, 0xD0, 0xDA, 0x4E, 0xF5, 0x61, 0xF2}};

// One text value the command needs; name null is the key's default value.
struct RegistryText {
    std::wstring key;
    const wchar_t* name;
    std::wstring text;
};

// Every value the key trees hold when the command starts exe.
std::vector<RegistryText> folderCommandTexts(const std::wstring& exe);

// Whether the registry holds the command for exe, as the shell would show it: every
// tree whole, nothing in them that hides the verb, and the exe the same file (letter
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

// Removes exe's command when the registry holds it; otherwise writes every tree, cleared
// first of whatever they held (a stale command of another copy goes whole). A tree that
// holds another command, or values or subkeys this program does not write, is replaced
// only when replaceForeign; without it nothing is changed (Foreign).
FolderCommandSwitch switchFolderCommand(const std::wstring& exe, bool replaceForeign);
