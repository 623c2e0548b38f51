#include "folderview/SettingsText.h"

#include "support/tsAnsi.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string_view>

namespace {

// What the profile reader takes for blanks at the edges of a line, a name or a value:
// Ctrl-Z among them, which old DOS editors left at the end of a file.
bool isReaderBlank(wchar_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == L' ';
}

std::wstring_view trimmed(std::wstring_view text)
{
    while (!text.empty() && isReaderBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isReaderBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Lengths first: most lines of a large file are in sections of other names, and the
// system's comparison is slow under Wine.
bool sameName(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

std::wstring fromUtf16(const char* bytes, std::size_t size, bool bigEndian)
{
    std::wstring text(size / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]),
                   second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

std::wstring fromUtf8(const std::string& bytes)
{
    const int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

// The file's text by its byte order mark, as the reader tells the encoding.
std::wstring decode(const std::string& bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return fromUtf8(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return fromUtf16(bytes.data() + 2, bytes.size() - 2, bytes[0] == '\xFE');
    std::wstring text;
    // Every byte has a meaning in the single-byte code pages the files are kept in.
    (void)tsFromAnsi(bytes, text);
    return text;
}

// A key is set in the first section of its name; it and a section are deleted in every copy.
bool isEdited(const SettingsLine& line, const std::vector<SettingEdit>& edits)
{
    for (const SettingEdit& edit : edits) {
        const bool key = edit.key && !line.header && sameName(*edit.key, line.key) && (!edit.value || line.copy == 0);
        if (sameName(edit.section, line.section) && (!edit.key || key))
            return true;
    }
    return false;
}

std::wstring upper(std::wstring text)
{
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// What the reader makes of a line; names and keys keep their spelling, as the writer keeps it.
std::wstring entry(const SettingsLine& line)
{
    return line.section + L'\n'
        + (line.header ? L"[]" + line.key : line.key + (line.value ? L"=" + *line.value : L"\n"));
}

// Whether the line is a copy of the edit's key, or the header of a copy of its section.
bool isCopyOf(const SettingsLine& line, const SettingEdit& edit)
{
    return sameName(line.section, edit.section) && line.header == !edit.key
        && (!edit.key || sameName(line.key, *edit.key));
}

} // namespace

bool isUnicodeSettingsText(const std::string& bytes)
{
    return bytes.starts_with("\xFF\xFE");
}

std::vector<SettingsLine> parseSettingsText(const std::string& bytes)
{
    std::wstring text = decode(bytes);
    // The writer turns NULs padding the end of the file into a blank line.
    while (!text.empty() && (text.back() == L'\0' || isReaderBlank(text.back())))
        text.pop_back();
    std::vector<SettingsLine> lines;
    std::map<std::wstring, int> headers; // by upper-case name
    std::wstring section;
    int copy = 0;
    bool lastKeyUnnamed = false; // the reader keeps only the first of adjoining lines with no name
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring_view line = trimmed(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (const std::size_t close = line.rfind(L']'); line.front() == L'[' && close != std::wstring_view::npos) {
            section = trimmed(line.substr(1, close - 1));
            copy = headers[upper(section)]++;
            lines.push_back({section, copy, true, std::wstring(line.substr(close + 1)), {}, std::wstring(line)});
            lastKeyUnnamed = false;
            continue;
        }
        const std::size_t equals = line.find(L'=');
        std::wstring key(trimmed(line.substr(0, equals)));
        if (key.empty() && lastKeyUnnamed)
            continue;
        lastKeyUnnamed = key.empty();
        std::optional<std::wstring> value;
        if (equals != std::wstring_view::npos)
            value = std::wstring(trimmed(line.substr(equals + 1)));
        lines.push_back({section, copy, false, std::move(key), std::move(value), std::wstring(line)});
    }
    return lines;
}

std::wstring readerValue(const std::wstring& value)
{
    return std::wstring(trimmed(value));
}

std::optional<std::wstring> findSetting(const std::vector<SettingsLine>& lines, const std::wstring& section,
                                        const std::wstring& key)
{
    bool inSection = false;
    for (const SettingsLine& line : lines) {
        if (line.header) {
            if (inSection)
                break; // a later section of the same name is not read
            inSection = sameName(line.section, section);
        } else if (inSection && line.value && sameName(line.key, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

int countCopies(const std::vector<SettingsLine>& lines, const SettingEdit& edit)
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](auto& line) { return isCopyOf(line, edit); }));
}

std::optional<std::wstring> changedLine(const std::vector<SettingsLine>& before, const std::vector<SettingsLine>& after,
                                        const std::vector<SettingEdit>& edits)
{
    for (const SettingEdit& edit : edits) {
        if (edit.key && edit.value) {
            if (findSetting(after, edit.section, *edit.key) != readerValue(*edit.value))
                return *edit.key + L"=" + *edit.value;
        } else if (const auto left =
                       std::find_if(after.begin(), after.end(), [&](auto& l) { return isCopyOf(l, edit); });
                   left != after.end()) {
            return left->text;
        }
    }
    // Each line that no edit touches must be there as many times as before.
    std::map<std::wstring, int> present;
    for (const SettingsLine& line : after)
        ++present[entry(line)];
    for (const SettingsLine& line : before) {
        if (isEdited(line, edits))
            continue;
        const auto found = present.find(entry(line));
        if (found == present.end() || found->second == 0)
            return line.text;
        --found->second;
    }
    return std::nullopt;
}
