#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/SettingsWriter.h"

#include <optional>
#include <string>
#include <vector>

// A comment line (";...") as plain text, with the header of the section it stands in:
// the profile reader skips comments, but they are the user's, and its writer keeps them.
struct SettingsComment {
    std::wstring header; // the header line above it, "" before the first
    std::wstring text; // without blanks at its edges and around its first "="
};

// A settings file as the write check compares it: what the system's profile reader
// reads from it, and its comments.
struct SettingsView {
    std::vector<ProfileSection> sections;
    std::vector<SettingsComment> comments;
};

// A UTF-16 little-endian file (with its byte order mark) can hold any text; any other
// is read by Windows in the ANSI code page.
bool isUnicodeSettingsText(const std::string& bytes);
// A UTF-8 or UTF-16 big-endian byte order mark: Unicode, but not to Windows' reader.
bool hasOtherUnicodeMark(const std::string& bytes);

// Reads the view of a settings file of these bytes: its sections through the system's
// reader, its comments as text (the byte order mark chooses UTF-8 or UTF-16, else the
// ANSI code page; lines end at CR or LF).
TsStatus readSettingsView(FolderFiles& files, const std::string& bytes, SettingsView& result);

// Section and key names are compared as the profile functions compare them: ordinal,
// with ASCII letters alike in either case and no other letters (the locale's
// comparison under Wine takes look-alikes such as the Kelvin sign for ASCII letters).
// Whether after is before with the edits made and nothing else changed: each key set
// reads back as written (blanks at its edges aside) where the reader looks for it, no
// deleted key or section is found, every other line of every other section reads as
// before, and every comment outside a deleted section is still there. None when it
// is; otherwise the first line of before that is not, or the line an edit should have
// made or left.
std::optional<std::wstring> changedLine(const SettingsView& before, const SettingsView& after,
                                        const std::vector<SettingEdit>& edits);
