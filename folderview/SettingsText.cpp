#include "folderview/SettingsText.h"

#include "support/tsAnsi.h"

#include <windows.h>

#include <map>

namespace {

std::wstring trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

// Lengths first: most lines of a large file are in sections of other names, and the
// system's comparison is slow under Wine.
bool sameName(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

std::wstring decode(const std::string& bytes)
{
    if (isUnicodeSettingsText(bytes))
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
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

} // namespace

bool isUnicodeSettingsText(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

std::vector<SettingsLine> parseSettingsText(const std::string& bytes)
{
    const std::wstring text = decode(bytes);
    std::vector<SettingsLine> lines;
    std::map<std::wstring, int> headers; // by upper-case name
    std::wstring section;
    int copy = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            section = trimmed(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            copy = headers[upper(section)]++;
            lines.push_back({section, copy, true, {}, {}});
        } else if (const std::size_t equals = line.find(L'='); equals != std::wstring::npos) {
            lines.push_back({section, copy, false, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))});
        } else {
            lines.push_back({section, copy, false, line, std::nullopt});
        }
    }
    return lines;
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
    int copies = 0;
    for (const SettingsLine& line : lines) {
        if (sameName(line.section, edit.section) && line.header == !edit.key
            && (!edit.key || sameName(line.key, *edit.key)))
            ++copies;
    }
    return copies;
}

bool isRewriteOf(const std::vector<SettingsLine>& before, const std::vector<SettingsLine>& after,
                 const std::vector<SettingEdit>& edits)
{
    for (const SettingEdit& edit : edits) {
        const bool done = edit.key && edit.value ? findSetting(after, edit.section, *edit.key) == edit.value
                                                 : countCopies(after, edit) == 0;
        if (!done)
            return false;
    }
    // Each line that no edit touches must be there as many times as before; section
    // names and keys keep their spelling.
    std::map<std::wstring, int> kept;
    const auto entry = [](const SettingsLine& line) {
        return line.section + L'\n'
            + (line.header ? L"[" + line.section + L"]" : line.key + L"=" + line.value.value_or(L"\n"));
    };
    for (const SettingsLine& line : before) {
        if (!isEdited(line, edits))
            ++kept[entry(line)];
    }
    for (const SettingsLine& line : after) {
        if (const auto found = kept.find(entry(line)); found != kept.end())
            --found->second;
    }
    for (const auto& [line, missing] : kept) {
        if (missing > 0)
            return false;
    }
    return true;
}
