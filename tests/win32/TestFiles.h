#pragma once
#include "common/TestFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

// The two encodings the shell reads settings files in; Utf16 is little-endian, as wchar_t is on Windows.
enum class Encoding { Ansi, Utf16 };

inline std::string encode(Encoding encoding, const std::wstring& text)
{
    if (encoding == Encoding::Ansi)
        return ansiBytes(text);
    std::string bytes = "\xFF\xFE";
    return bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// What a settings file says: blank lines and blanks around a line carry no meaning.
// Every other line is an item "[Section] line"; lines before the first section are under "[]".
struct IniFile {
    Encoding encoding = Encoding::Ansi;
    std::vector<std::wstring> sections, items;
};

inline IniFile readIni(const std::wstring& path)
{
    const std::string bytes = readFile(path);
    IniFile file;
    std::wstring text;
    if (bytes.rfind("\xFF\xFE", 0) == 0) {
        file.encoding = Encoding::Utf16;
        text.resize(bytes.size() / sizeof(wchar_t) - 1);
        std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
    } else {
        text.resize(bytes.size()); // one character per byte in code page 1251
        MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                            static_cast<int>(text.size()));
    }
    std::wistringstream lines(text);
    std::wstring line, section;
    while (std::getline(lines, line)) {
        line.erase(0, line.find_first_not_of(L" \t"));
        line.erase(line.find_last_not_of(L" \t\r") + 1);
        if (line.empty())
            continue;
        if (line.front() == L'[' && line.back() == L']')
            file.sections.push_back(section = line.substr(1, line.size() - 2));
        else
            file.items.push_back(L"[" + section + L"] " + line);
    }
    return file;
}

// The names in the folder, sorted.
inline std::vector<std::wstring> folderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}
