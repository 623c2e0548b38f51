#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FolderFiles.h"

#include <string>
#include <vector>

// A file put into the folder as a hidden file, so that the settings file can name it by
// its bare name and the setting travels with the folder. The folder's files are the
// user's: a file there of the copy's name is replaced only when it is an earlier copy,
// a hidden file that is neither a folder nor the settings file; otherwise the copy takes
// the first free name beside it ("лес (2).bmp", "лес (3).bmp", …). Desktop.INI, in any
// letter case, is never a copy's name. A copy is whole or absent: it is written to a
// temporary file in the folder, hidden and renamed into place, and whatever fails, an
// earlier copy keeps its bytes and attributes and no temporary file remains. key names
// the setting for the message. Done with name set to the copy's bare name, or why not.

// The icon and comment dialog's copies go by another rule, since Explorer's icon and
// thumbnail caches key an image by its location and would go on showing an earlier
// copy's image under its name: a copy whose bytes differ from an earlier copy of its name
// takes the next free name instead, and one of the same bytes keeps that name and is not
// written again. The earlier copies it passed over, and the copy the setting named before
// (previous, as the settings file names it) when that is one of the copy's numbered
// names, are superseded: removeUnnamedCopies removes them once the settings are written.
struct Renewal {
    std::wstring previous;
    std::vector<std::wstring> superseded; // full paths
};

// The file a setting names (source) copied into the folder. A source that already is a
// file of the folder is only hidden: copying a file onto itself would empty it. With
// renewal, the dialog's rule.
CommandOutcome copyIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& source,
                              const wchar_t* key, std::wstring& name, Renewal* renewal = nullptr);

// Bytes the program made (an icon taken out of a larger file) put into the folder under
// bareName, or the free name beside it, as a copy is.
CommandOutcome writeIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& bareName,
                               const std::string& bytes, const wchar_t* key, std::wstring& name,
                               Renewal* renewal = nullptr);

// The icon at index of a module (an .exe or .dll; any file but an .ico) put into the
// folder as a small .ico named after it ("shell32.ico"), holding every image of the icon,
// as a copy is; index becomes 0, the .ico's one icon. A module whose icon cannot be read
// is named as the source.
CommandOutcome copyIconIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& module,
                                  int& index, const wchar_t* key, std::wstring& name, Renewal* renewal = nullptr);

// Removes each superseded copy that is still an earlier copy (hidden, not a folder) and
// that no value of the settings file at settings names, by its name in any folder and
// with or without an icon's index: whatever might name it keeps it. When the file cannot
// be read, every copy stays.
void removeUnnamedCopies(FolderFiles& files, const std::wstring& settings, const std::vector<std::wstring>& copies);

// Whether the file is an .ico by its name, which the shell goes by too.
bool isIcoFileName(const std::wstring& path);
