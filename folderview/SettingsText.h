#pragma once
#include "folderview/SettingsWriter.h"

#include <optional>
#include <string>
#include <vector>

// A settings file's text as the profile functions see it, read from its bytes so that
// a rewrite can be checked against what the file held before: one entry per line that
// is not blank, with the section it stands in.
struct SettingsLine {
    std::wstring section; // as spelt in its header; "" before the first header
    int copy = 0; // 0 in the first section of that name, 1 in the second...
    bool header = false;
    std::wstring key; // the text before "=", trimmed; the whole trimmed line when there is none
    std::optional<std::wstring> value; // the text after "=", trimmed
};

// A UTF-16 file (with its byte order mark) can hold any text; any other is read in the
// ANSI code page.
bool isUnicodeSettingsText(const std::string& bytes);
std::vector<SettingsLine> parseSettingsText(const std::string& bytes);

// The key's value as a reader finds it: in the first section of that name, names
// compared without regard to case. None when that section lacks the key.
std::optional<std::wstring> findSetting(const std::vector<SettingsLine>& lines, const std::wstring& section,
                                        const std::wstring& key);
// How many copies of the edit's key (or, with no key, of its section) the file holds in all.
int countCopies(const std::vector<SettingsLine>& lines, const SettingEdit& edit);

// Whether after is before with the edits made and nothing else changed: each key set
// reads back as written, no copy of a deleted key or section is left, and every other
// line of before is still there (blanks around a line and around "=" aside, which the
// profile writer may change).
bool isRewriteOf(const std::vector<SettingsLine>& before, const std::vector<SettingsLine>& after,
                 const std::vector<SettingEdit>& edits);
