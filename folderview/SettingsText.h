#pragma once
#include "folderview/SettingsWriter.h"

#include <optional>
#include <string>
#include <vector>

// A settings file's text as the system's profile reader sees it, read from its bytes
// so that a rewrite can be checked against what the file held before: one entry per
// line the reader keeps, with the section it stands in.
struct SettingsLine {
    std::wstring section; // the name in its header, blanks at its edges aside; "" before the first header
    int copy = 0; // 0 in the first section of that name, 1 in the second...
    bool header = false;
    // A header: what follows its closing bracket, which the writer drops. A line: the
    // text before "=", or the whole line when there is none.
    std::wstring key;
    std::optional<std::wstring> value; // the text after "="
    std::wstring text; // the line as the file spells it, for a message
};

// A UTF-16 file (with its byte order mark) can hold any text; any other is read in the
// ANSI code page.
bool isUnicodeSettingsText(const std::string& bytes);
// The reader's rules: a byte order mark (UTF-8, UTF-16 either way round) sets the
// encoding, else the ANSI code page; lines end at CR or LF; blanks, tabs, form feeds
// and Ctrl-Z at a line's edges, and NULs padding the end of the file, are no text; a
// line is a header only when it starts with "[" and has a "]".
std::vector<SettingsLine> parseSettingsText(const std::string& bytes);

// A value as the reader returns it: without blanks at its edges.
std::wstring readerValue(const std::wstring& value);

// The key's value as a reader finds it: in the first section of that name, names
// compared without regard to case. None when that section lacks the key.
std::optional<std::wstring> findSetting(const std::vector<SettingsLine>& lines, const std::wstring& section,
                                        const std::wstring& key);
// How many copies of the edit's key (or, with no key, of its section) the file holds in all.
int countCopies(const std::vector<SettingsLine>& lines, const SettingEdit& edit);

// Whether after is before with the edits made and nothing else changed, as the reader
// sees both: each key set reads back as written, no copy of a deleted key or section
// is left, and every other line of before is still there. None when it is; otherwise
// the first line of before that is not, or the line an edit should have made.
std::optional<std::wstring> changedLine(const std::vector<SettingsLine>& before, const std::vector<SettingsLine>& after,
                                        const std::vector<SettingEdit>& edits);
