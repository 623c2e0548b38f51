#pragma once
#include "common/TestFiles.h"
#include "folderview/FolderLookState.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

// What the tests here add to the shared file helpers: profile files in either encoding,
// a reader that tells what such a file means, and the window's state.

enum class Encoding { Ansi, Utf16 };
// Names the tests of each encoding.
std::string encodingName(const testing::TestParamInfo<Encoding>& param);

// The text as UTF-16LE after a byte order mark, or in the encoding given.
std::string utf16Bytes(const std::wstring& text);
std::string encode(Encoding encoding, const std::wstring& text);

// The names in the folder, as the file system spells them, without "." and "..".
std::vector<std::wstring> folderEntries(const std::wstring& folder);

// A profile file as the shell understands it: sections, keys and values, comments
// and lines without "=". Layout (blank lines, spacing around names and values, key
// order) carries no meaning and is dropped.
class IniFile {
public:
    static IniFile read(const std::wstring& path);
    static IniFile parse(const std::string& bytes);

    Encoding encoding() const { return encoding_; }
    // In file order; lines before the first section belong to a section named "".
    const std::vector<std::wstring>& sectionNames() const { return sectionNames_; }
    // Each entry as "[Section] Key=Value", a comment as "[Section] ;text", in file order.
    const std::vector<std::wstring>& items() const { return items_; }

private:
    Encoding encoding_ = Encoding::Ansi;
    std::vector<std::wstring> sectionNames_;
    std::vector<std::wstring> items_;
};

// The file holds exactly the expected items, in any order. Section and key names
// match without regard to case, as Windows matches them; values must match exactly.
testing::AssertionResult holdsExactly(const IniFile& file, std::vector<std::wstring> expected);

// A greyed (third-state) check box, which counts as unticked.
inline constexpr int kGreyed = 2;
// The window's state for the folder with these colour settings; no picture, no copy.
FolderLookState look(const std::wstring& folder, int textOn, ColorValue text, int backOn, ColorValue back);
