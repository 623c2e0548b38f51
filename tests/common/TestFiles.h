#pragma once
#include <windows.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Real files for the tests, through the wide Win32 calls: a private folder per test and
// the chores that prepare and check it. A helper that cannot do its work throws, which
// fails the test that called it.

// The identifier of the shell's folder view extension: a key and a section name in a
// folder's Desktop.INI.
inline const std::wstring kView = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";

// A fresh folder under the system's temporary folder, removed with everything in it,
// hidden, system and read-only entries too.
class TempFolder {
public:
    // suffix: the end of the folder's name, e.g. to give it blanks or Cyrillic letters.
    explicit TempFolder(const std::wstring& suffix = L"");
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::wstring& path() const { return path_; }
    // The path of an entry in the folder: path() + "\" + name.
    std::wstring at(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::wstring desktopIni() const { return at(L"Desktop.INI"); }

private:
    std::wstring path_;
};

// Makes folder the current directory for its lifetime.
struct CurrentDirectory {
    explicit CurrentDirectory(const std::wstring& folder) { std::filesystem::current_path(folder); }
    ~CurrentDirectory() { std::filesystem::current_path(previous); }
    const std::filesystem::path previous = std::filesystem::current_path();
};

// This test program started again with the one test given (a disabled one, as
// "Suite.DISABLED_Name"), in folder (default: the current one) and from exe (default:
// this program's file); its exit code once it ends, within a minute.
DWORD runTestAlone(const std::wstring& test, const std::wstring& exe = L"", const std::wstring& folder = L"");

// A failed Win32 call on the path, with the error GetLastError() holds.
std::runtime_error systemError(const char* what, const std::wstring& path);

// The text in code page 1251, refusing a character the code page lacks; and as UTF-8,
// for test messages.
std::string ansiBytes(const std::wstring& text);
std::string utf8(const std::wstring& text);

void makeFolder(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path);
DWORD attributesOf(const std::wstring& path);

// A 24-bit BMP file of body colour whose top row and left column are edge colour, so
// that tiles of it show where they meet.
std::string bmpBytes(int width, int height, COLORREF body, COLORREF edge);

// The settings file as the system's profile reader reads it: each section's name, then
// its lines ("key=value", or a line without "=").
std::vector<std::wstring> iniSections(const std::wstring& path);

// A key's value in a settings file; none when the section lacks the key.
std::optional<std::wstring> iniValue(const std::wstring& path, const std::wstring& section, const std::wstring& key);
