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

std::wstring fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]),
                   second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

std::wstring fromUtf8(std::string_view bytes)
{
    const int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF", kUtf16Mark = "\xFF\xFE", kBigEndianMark = "\xFE\xFF";

// The text of bytes read in encoding, after its mark when they start with it: the file
// after the rewrite is read as the one before was, so that a rewrite in another
// encoding loses every line.
std::wstring decode(std::string_view bytes, SettingsEncoding encoding)
{
    const std::string_view mark = encoding == SettingsEncoding::Utf8 ? kUtf8Mark
        : encoding == SettingsEncoding::Utf16BigEndian               ? kBigEndianMark
        : encoding == SettingsEncoding::Ansi                         ? ""
                                                                     : kUtf16Mark;
    if (bytes.starts_with(mark))
        bytes.remove_prefix(mark.size());
    if (encoding == SettingsEncoding::Utf8)
        return fromUtf8(bytes);
    if (encoding != SettingsEncoding::Ansi)
        return fromUtf16(bytes, encoding == SettingsEncoding::Utf16BigEndian);
    std::wstring text;
    // Every byte has a meaning in the single-byte code pages the files are kept in.
    (void)tsFromAnsi(std::string(bytes), text);
    return text;
}

// A line of the file as the text comparison takes it.
struct TextLine {
    enum class Kind { Header, Comment, Other } kind;
    std::wstring header; // what the header above it (or the header itself) means, "" above the first
    std::wstring meaning;
    std::wstring text; // as the file spells it, blanks at its edges aside
};

bool isHeader(std::wstring_view line)
{
    return line.starts_with(L'[') && line.find(L']') != std::wstring_view::npos;
}

std::wstring_view withoutEnd(std::wstring_view text)
{
    while (!text.empty() && (isReaderBlank(text.back()) || text.back() == L'\0'))
        text.remove_suffix(1);
    return text;
}

std::wstring meaningOf(std::wstring_view line)
{
    if (isHeader(line))
        return std::wstring(line.substr(0, line.rfind(L']') + 1));
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos)
        return std::wstring(withoutEnd(line));
    return std::wstring(withoutEnd(line.substr(0, equals))) + L"="
        + std::wstring(withoutEnd(trimmed(line.substr(equals + 1))));
}

std::vector<TextLine> textLines(const std::wstring& text)
{
    std::vector<TextLine> lines;
    std::wstring header;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
        const std::wstring_view line = trimmed(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        std::wstring meaning = meaningOf(line);
        if (meaning.empty())
            continue;
        const auto kind = isHeader(line) ? TextLine::Kind::Header
            : line.starts_with(L';')     ? TextLine::Kind::Comment
                                         : TextLine::Kind::Other;
        if (kind == TextLine::Kind::Header)
            header = meaning;
        lines.push_back({kind, header, std::move(meaning), std::wstring(line)});
    }
    return lines;
}

bool isDeletedSection(std::wstring_view section, const std::vector<SettingEdit>& edits)
{
    return std::any_of(edits.begin(), edits.end(),
                       [&](const SettingEdit& edit) { return !edit.key && sameName(edit.section, section); });
}

// The names the writer gives a header's section and a line's key, as Wine's reads them:
// up to the header's last "]", and up to the "=" without the blanks before it, both as
// far as a NUL. Where Windows' reads a name otherwise (up to a header's first "]"), a
// line its writer replaces is not let go, and the check refuses.
std::wstring_view upToNul(std::wstring_view text)
{
    return text.substr(0, text.find(L'\0'));
}

std::wstring_view sectionOf(std::wstring_view header)
{
    return upToNul(header.substr(1, header.rfind(L']') - 1));
}

std::wstring_view keyOf(std::wstring_view line)
{
    std::wstring_view key = line.substr(0, line.find(L'='));
    while (!key.empty() && isReaderBlank(key.back()))
        key.remove_suffix(1);
    return upToNul(key);
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

// Whether the edits may take the line away: a line of a deleted section, its header
// included, or a line of an edited key.
bool isEdited(const TextLine& line, const std::vector<SettingEdit>& edits)
{
    if (line.header.empty())
        return false;
    const std::wstring_view section = sectionOf(line.header);
    return isDeletedSection(section, edits)
        || (line.kind != TextLine::Kind::Header && isEditedKey(section, keyOf(line.text), edits));
}

// What a line is compared by: a comment or a header by its meaning alone, since the
// reader sees no comment and a header says where it stands by itself; any other line
// with the header above it.
std::wstring comparedText(const TextLine& line)
{
    return line.kind == TextLine::Kind::Other ? line.header + L"\n" + line.meaning : line.meaning;
}

} // namespace

SettingsEncoding settingsEncoding(const std::string& bytes)
{
    if (bytes.starts_with(kUtf16Mark))
        return SettingsEncoding::Utf16;
    if (bytes.starts_with(kUtf8Mark))
        return SettingsEncoding::Utf8;
    if (bytes.starts_with(kBigEndianMark))
        return SettingsEncoding::Utf16BigEndian;
    std::size_t zeros = 0;
    for (std::size_t i = 1; i < bytes.size(); i += 2)
        zeros += bytes[i] == '\0';
    return !bytes.empty() && bytes.size() % 2 == 0 && zeros > bytes.size() / 4 ? SettingsEncoding::UnmarkedUtf16
                                                                              : SettingsEncoding::Ansi;
}

std::optional<std::wstring> changedLine(const std::vector<ProfileSection>& before,
                                        const std::vector<ProfileSection>& after, const std::vector<SettingEdit>& edits)
{
    for (const SettingEdit& edit : edits) {
        const std::optional<std::wstring> found = foundLine(after, edit);
        if (edit.key && edit.value) {
            const Entry entry = found ? entryOf(*found) : Entry {};
            if (!entry.value || *entry.value != trimmed(*edit.value))
                return *edit.key + L"=" + *edit.value;
        } else if (found) {
            return found;
        }
    }
    const std::vector<ProfileSection> kept = untouched(before, edits), now = untouched(after, edits);
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
    return std::nullopt;
}

std::optional<std::wstring> lostLine(const std::string& before, const std::string& after,
                                     const std::vector<SettingEdit>& edits)
{
    const SettingsEncoding encoding = settingsEncoding(before);
    std::multiset<std::wstring> now;
    for (const TextLine& line : textLines(decode(after, encoding)))
        now.insert(comparedText(line));
    for (const TextLine& line : textLines(decode(before, encoding))) {
        if ((line.kind == TextLine::Kind::Header && line.meaning == L"[]") || isEdited(line, edits))
            continue;
        const auto found = now.find(comparedText(line));
        if (found == now.end())
            return line.text;
        now.erase(found);
    }
    return std::nullopt;
}
