#include "folderview/SettingsText.h"

#include "support/tsAnsi.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <string_view>

namespace {

// What Wine's reader takes for blanks at the edges of a line, a name or a value:
// Ctrl-Z among them, which old DOS editors left at the end of a file. Windows' reader
// trims fewer, which only makes more lines differ.
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

// The reader ends a name or a value at a NUL, keeping the blanks before it; the writer
// then writes it without them.
std::wstring_view name(std::wstring_view text)
{
    return trimmed(text.substr(0, text.find(L'\0')));
}

wchar_t asciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

bool sameName(std::wstring_view first, std::wstring_view second)
{
    return first.size() == second.size()
        && std::equal(first.begin(), first.end(), second.begin(),
                      [](wchar_t a, wchar_t b) { return asciiLower(a) == asciiLower(b); });
}

// A line as its key and value, each without blanks at its edges.
struct Entry {
    std::wstring_view key;
    std::optional<std::wstring_view> value;
};

Entry entryOf(std::wstring_view line)
{
    const std::size_t equals = line.find(L'=');
    Entry entry {name(line.substr(0, equals)), std::nullopt};
    if (equals != std::wstring_view::npos)
        entry.value = name(line.substr(equals + 1));
    return entry;
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

// The file's text by its byte order mark. Windows' reader knows only the UTF-16
// little-endian one; both files are decoded alike, so a comment kept byte for byte
// reads alike either way.
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

std::vector<SettingsComment> commentsOf(const std::string& bytes)
{
    const std::wstring text = decode(bytes);
    std::vector<SettingsComment> comments;
    std::wstring header;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
        const std::wstring_view line = trimmed(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (line.starts_with(L'[') && line.find(L']') != std::wstring_view::npos) {
            header = line;
        } else if (line.starts_with(L';')) {
            const Entry entry = entryOf(line);
            comments.push_back(
                {header, std::wstring(entry.key) + (entry.value ? L"=" + std::wstring(*entry.value) : L"")});
        }
    }
    return comments;
}

bool isDeletedSection(std::wstring_view section, const std::vector<SettingEdit>& edits)
{
    return std::any_of(edits.begin(), edits.end(),
                       [&](const SettingEdit& edit) { return !edit.key && sameName(edit.section, section); });
}

// Whether a comment goes with a deleted section: Wine's writer drops it with its
// section (Windows' keeps it). The header is read as either reader reads it, up to its
// first or its last "]".
bool isInDeletedSection(const SettingsComment& comment, const std::vector<SettingEdit>& edits)
{
    const std::wstring_view header(comment.header);
    return !header.empty()
        && (isDeletedSection(name(header.substr(1, header.find(L']') - 1)), edits)
            || isDeletedSection(name(header.substr(1, header.rfind(L']') - 1)), edits));
}

bool isEditedKey(std::wstring_view section, std::wstring_view key, const std::vector<SettingEdit>& edits)
{
    return std::any_of(edits.begin(), edits.end(), [&](const SettingEdit& edit) {
        return edit.key && sameName(edit.section, section) && sameName(*edit.key, key);
    });
}

// The sections and lines no edit touches. Deleted sections, lines of edited keys and
// comments (compared as text) are left out, and so is a section of an edit that holds
// nothing else: the edits may have made it, or emptied it.
std::vector<ProfileSection> untouched(const std::vector<ProfileSection>& sections,
                                      const std::vector<SettingEdit>& edits)
{
    std::vector<ProfileSection> result;
    for (const ProfileSection& section : sections) {
        if (isDeletedSection(section.name, edits))
            continue;
        ProfileSection kept {section.name, {}};
        for (const std::wstring& line : section.lines) {
            const Entry entry = entryOf(line);
            if (!entry.key.starts_with(L';') && !isEditedKey(section.name, entry.key, edits))
                kept.lines.push_back(line);
        }
        const bool edited = std::any_of(edits.begin(), edits.end(),
                                        [&](const SettingEdit& edit) { return sameName(edit.section, section.name); });
        if (!edited || !kept.lines.empty())
            result.push_back(std::move(kept));
    }
    return result;
}

// Where the reader looks for the edit, in the first section of its name: the section's
// header for a section, the key's first line for a key.
std::optional<std::wstring> foundLine(const std::vector<ProfileSection>& sections, const SettingEdit& edit)
{
    const auto section = std::find_if(sections.begin(), sections.end(),
                                      [&](const ProfileSection& s) { return sameName(s.name, edit.section); });
    if (section == sections.end())
        return std::nullopt;
    if (!edit.key)
        return L"[" + section->name + L"]";
    const auto line = std::find_if(section->lines.begin(), section->lines.end(),
                                   [&](const std::wstring& l) { return sameName(entryOf(l).key, *edit.key); });
    return line == section->lines.end() ? std::nullopt : std::optional(*line);
}

} // namespace

bool isUnicodeSettingsText(const std::string& bytes)
{
    return bytes.starts_with("\xFF\xFE");
}

bool hasOtherUnicodeMark(const std::string& bytes)
{
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFE\xFF");
}

TsStatus readSettingsView(FolderFiles& files, const std::string& bytes, SettingsView& result)
{
    result.comments = commentsOf(bytes);
    return files.readSections(bytes, result.sections);
}

std::optional<std::wstring> changedLine(const SettingsView& before, const SettingsView& after,
                                        const std::vector<SettingEdit>& edits)
{
    for (const SettingEdit& edit : edits) {
        const std::optional<std::wstring> found = foundLine(after.sections, edit);
        if (edit.key && edit.value) {
            const Entry entry = found ? entryOf(*found) : Entry {};
            if (!entry.value || *entry.value != trimmed(*edit.value))
                return *edit.key + L"=" + *edit.value;
        } else if (found) {
            return found;
        }
    }
    const std::vector<ProfileSection> kept = untouched(before.sections, edits), now = untouched(after.sections, edits);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i == now.size() || now[i].name != kept[i].name)
            return L"[" + kept[i].name + L"]";
        const auto [was, is] =
            std::mismatch(kept[i].lines.begin(), kept[i].lines.end(), now[i].lines.begin(), now[i].lines.end());
        if (was != kept[i].lines.end())
            return *was;
        if (is != now[i].lines.end())
            return *is;
    }
    if (now.size() > kept.size())
        return L"[" + now[kept.size()].name + L"]";
    // Each comment outside a deleted section must be there as many times as before.
    std::multiset<std::wstring> comments;
    for (const SettingsComment& comment : after.comments)
        comments.insert(comment.text);
    for (const SettingsComment& comment : before.comments) {
        if (isInDeletedSection(comment, edits))
            continue;
        const auto found = comments.find(comment.text);
        if (found == comments.end())
            return comment.text;
        comments.erase(found);
    }
    return std::nullopt;
}
