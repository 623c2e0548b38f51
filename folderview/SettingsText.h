#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/SettingsWriter.h"

#include <optional>
#include <string>
#include <vector>

// How a settings file's bytes are text. Windows' reader takes a file for Unicode only by
// the UTF-16 little-endian mark (FF FE) and reads every other file in the ANSI code page;
// Wine's also knows the UTF-8 and the big-endian marks. A file without a mark whose
// length is even and more than half of whose odd bytes are 0 (the high bytes of
// UTF-16 little-endian text, as a cloud drive writes the file) is UnmarkedUtf16: text
// to the people and programs that wrote it, but junk to both readers.
enum class SettingsEncoding { Ansi, Utf16, UnmarkedUtf16, Utf8, Utf16BigEndian };
SettingsEncoding settingsEncoding(const std::string& bytes);

// Section and key names are compared as the profile functions compare them: ordinal,
// with ASCII letters alike in either case and no other letters (the locale's
// comparison under Wine takes look-alikes such as the Kelvin sign for ASCII letters).
// Whether after is before with the edits made and nothing else changed, as the
// system's reader sees both: each key set reads back as written (blanks at its edges
// aside) where the reader looks for it, no deleted key or section is found, and every
// other line of every other section reads as before. None when it is; otherwise the
// first line of before that is not, or the line an edit should have made or left.
std::optional<std::wstring> changedLine(const std::vector<ProfileSection>& before,
                                        const std::vector<ProfileSection>& after,
                                        const std::vector<SettingEdit>& edits);

// Whether every line of the file before is still in the file after, both read as text
// in before's encoding, whatever a reader makes of them. Lines end at CR or LF. A line
// means its text without the blanks at its edges and around its first "=", and without
// the NULs that end its name or its value (the writer writes both up to a NUL), or for
// a header its text up to its last "]"; blank lines mean nothing. A line other than a
// comment or a header means that under the header it stands under, so a line moved to
// another section is lost. Lines of deleted sections and of edited keys may go (names
// read as the writer reads them, up to a header's last "]" and as far as a NUL), and so
// may an empty "[]" header, which the writer drops: the lines under one then join the
// section above, which a reader sees. None when nothing is lost; otherwise the first
// line lost, as the file spells it.
std::optional<std::wstring> lostLine(const std::string& before, const std::string& after,
                                     const std::vector<SettingEdit>& edits);
