#pragma once
#include "support/TsStatus.h"
#include <cstdint>
#include <string>
#include <vector>

// Profile (INI) file access through the Windows profile functions, so that ANSI and
// UTF-16 files are read the way the shell reads them. Section and key names match
// without regard to case, as Windows matches them. The readers' options word and the
// key test's requireValue belong to the library's fixed interface, so they stay
// though no option is defined and every caller passes 0.

// The key's text, or defaultText when the section lacks the key.
TsStatus tsReadStringFromINI(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                             const std::wstring& path, unsigned options, std::wstring& result);

// The key's value as read by tsParseLong, or defaultValue when the section lacks the
// key. A value that is present but not a number is a failed read.
TsStatus tsReadLongFromINI(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                           const std::wstring& path, unsigned options, std::int32_t& result);

// Whether the section holds the key, whatever its value.
TsStatus tsIsINIKeyExist2(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                          unsigned options, bool requireValue, bool& result);

// The one way the program changes a profile file: a null value deletes the key, a
// null key and value delete the whole section. Texts go through the ANSI writer; one
// that the code page cannot hold only into a UTF-16 file, which holds it exactly.
// Fails, touching nothing, when a text does not fit the file, or the system reports
// that the file was not changed.
TsStatus tsWriteINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                    const std::wstring& path);

// One section as the profile reader hands it over: the name it lists, and the lines
// ("key=value", or a line without "=") of the first section of that name.
struct ProfileSection {
    std::wstring name;
    std::vector<std::wstring> lines;
};

// What the system's profile reader reads from a file of these bytes: every section it
// lists, in order. Read from a temporary copy, so that neither later changes of the
// file nor the reader's cache of it bear on the answer.
TsStatus tsReadProfileCopy(const std::string& bytes, std::vector<ProfileSection>& result);
