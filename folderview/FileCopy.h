#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"

#include <string>

// A file put into the folder as a hidden file, so that the settings file can name it by
// its bare name and the setting travels with the folder. The folder's files are the
// user's: a file there of the copy's name is replaced only when it is an earlier copy,
// a hidden file that is neither a folder nor the settings file; otherwise the copy takes
// the first free name beside it ("лес (2).bmp", "лес (3).bmp", …). Desktop.INI, in any
// letter case, is never a copy's name. A copy is whole or absent: it is written to a
// temporary file in the folder, hidden and renamed into place, and whatever fails, an
// earlier copy keeps its bytes and attributes and no temporary file remains. key names
// the setting for the message. Done with name set to the copy's bare name, or why not.

// The file a setting names (source) copied into the folder. A source that already is a
// file of the folder is only hidden: copying a file onto itself would empty it.
CommandOutcome copyIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& source,
                              const wchar_t* key, std::wstring& name);

// Bytes the program made (an icon taken out of a larger file) put into the folder under
// bareName, or the free name beside it, as a copy is.
CommandOutcome writeIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& bareName,
                               const std::string& bytes, const wchar_t* key, std::wstring& name);

// The icon at index of a module (an .exe or .dll; any file but an .ico) put into the
// folder as a small .ico named after it ("shell32.ico"), holding every image of the icon,
// as a copy is; index becomes 0, the .ico's one icon. A module whose icon cannot be read
// is named as the source.
CommandOutcome copyIconIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& module,
                                  int& index, const wchar_t* key, std::wstring& name);

// Whether the file is an .ico by its name, which the shell goes by too.
bool isIcoFileName(const std::wstring& path);
