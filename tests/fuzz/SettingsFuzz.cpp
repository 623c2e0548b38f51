// A differential fuzz of the settings writer's check against the system's own profile
// functions. Random settings files, in every encoding the readers know and in UTF-16
// without a mark, with the lines that trip them (look-alike letters, tabs, "[]" headers
// over lines at the top and after a section, NULs in comments and elsewhere, Ctrl-Z,
// lone CRs, doubled sections and keys, comments, lines without "="), get random edits
// through writeSettings, and on a copy through the system's writer alone. The system's
// reader and a plain comparison of the files' lines, made here, judge: a refusal is
// false when the system's writer changed nothing the reader sees but the edits and lost
// no line; a Done is a missed change when the reader sees anything else changed, and a
// lost line when a line of the file is gone.
// Usage: settings_fuzz FILES [SEED]. Exits 1 on any fault.
#include "common/OurKeys.h"
#include "common/TestFiles.h"
#include "folderview/SettingsFormat.h"
#include "folderview/SettingsWriter.h"
#include "folderview/Win32FolderFiles.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Kind = CommandOutcome::Kind;

// The program's sections and keys, as its commands write them.
std::vector<std::wstring> ourNames(std::wstring OurKey::*name)
{
    std::vector<std::wstring> names;
    for (const OurKey& key : ourKeys()) {
        if (std::find(names.begin(), names.end(), key.*name) == names.end())
            names.push_back(key.*name);
    }
    return names;
}
const std::vector<std::wstring> kSections = ourNames(&OurKey::section);
const std::vector<std::wstring> kKeys = ourNames(&OurKey::key);
// Names for the lines of a file: ours, and others.
const std::vector<std::wstring> kNames = [] {
    std::vector<std::wstring> names = kKeys;
    names.insert(names.end(), kSections.begin(), kSections.end());
    names.insert(names.end(), {L"Other", L"Дача", L"", L"{BE098140-A513-11D0-A3A4"});
    return names;
}();
const std::wstring kValues[] = {L"1", L"C:\\Картинки\\фон.jpg", L"a\tb", L" padded\t", L"\u65E5\u672C", L"x=y", L""};
const std::wstring kBlanks[] = {L" ", L"\t", L"\v", L"\f", L"\x1A", L"\u00A0"};

struct Random {
    std::mt19937 engine;
    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template <typename Items> const std::wstring& pick(const Items& items) { return items[below(std::size(items))]; }
};

// A name in another case, or (lookAlike) with a letter the locale's comparison under
// Wine takes for an ASCII one: the Kelvin sign, the long s, the one-dot leader, the
// small hyphen.
std::wstring spelled(Random& random, std::wstring name, bool lookAlike = true)
{
    for (wchar_t& c : name) {
        if ((c | 0x20) >= L'a' && (c | 0x20) <= L'z' && random.chance(10))
            c ^= 0x20;
    }
    if (lookAlike && !name.empty() && random.chance(20)) {
        wchar_t& c = name[random.below(name.size())];
        c = c == L'k' || c == L'K' ? L'\u212A' : c == L's' || c == L'S' ? L'\u017F' : c == L'.' ? L'\u2024' : L'\uFE63';
    }
    return name;
}

std::wstring randomLine(Random& random)
{
    const std::wstring name = spelled(random, random.pick(kNames));
    const std::wstring lines[] = {L"[" + name + L"]",
                                  L"[" + name + L"] ; заметки",
                                  L"[" + name + L"]x]",
                                  L"[]",
                                  L"[" + name,
                                  L";" + random.pick(kBlanks) + name + L" = 1",
                                  std::wstring(L";\0 ", 3) + name,
                                  name,
                                  L"",
                                  name + L"=" + random.pick(kValues),
                                  name + random.pick(kBlanks) + L"=" + random.pick(kBlanks) + random.pick(kValues)};
    std::wstring line = lines[random.below(std::size(lines))];
    if (random.chance(15))
        line = random.pick(kBlanks) + line;
    if (random.chance(15))
        line += random.pick(kBlanks);
    if (random.chance(5))
        line.insert(random.below(line.size() + 1), 1, L'\0');
    return line;
}

// How a file's text is kept: UTF-16 either way round after its mark, little-endian
// without one, UTF-8 after its mark, or the ANSI code page.
enum class Form { Utf16, BigEndian, Unmarked, Utf8, Ansi };
constexpr std::size_t kForms = 5;

std::string encoded(const std::wstring& text, Form form)
{
    if (form == Form::Utf16 || form == Form::BigEndian || form == Form::Unmarked) {
        std::string bytes = form == Form::Utf16 ? "\xFF\xFE" : form == Form::BigEndian ? "\xFE\xFF" : "";
        const bool big = form == Form::BigEndian;
        for (const wchar_t c : text)
            bytes += {static_cast<char>(big ? c >> 8 : c & 0xFF), static_cast<char>(big ? c & 0xFF : c >> 8)};
        return bytes;
    }
    const int size = static_cast<int>(text.size());
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(form == Form::Utf8 ? CP_UTF8 : CP_ACP, 0, text.data(),
                                                              size, bytes.data(), size * 3, nullptr, nullptr)));
    return (form == Form::Utf8 ? "\xEF\xBB\xBF" : "") + bytes;
}

// The text of bytes kept in form, after its mark if they start with it.
std::wstring decoded(const std::string& bytes, Form form)
{
    const std::string mark = form == Form::Utf16 ? "\xFF\xFE" : form == Form::BigEndian ? "\xFE\xFF"
        : form == Form::Utf8                     ? "\xEF\xBB\xBF"
                                                 : "";
    const std::size_t skip = bytes.starts_with(mark) ? mark.size() : 0;
    std::wstring text;
    if (form == Form::Utf8 || form == Form::Ansi) {
        text.resize(bytes.size());
        const int size = static_cast<int>(bytes.size() - skip);
        text.resize(static_cast<std::size_t>(MultiByteToWideChar(form == Form::Utf8 ? CP_UTF8 : CP_ACP, 0,
                                                                 bytes.data() + skip, size, text.data(), size)));
        return text;
    }
    const bool big = form == Form::BigEndian;
    for (std::size_t i = skip; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i + big])
                                     | static_cast<unsigned char>(bytes[i + !big]) << 8);
    return text;
}

// A file's form as the program is to take it: by its mark, or UTF-16 without one when
// its length is even and more than half of its odd bytes are 0.
Form formOf(const std::string& bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return Form::Utf16;
    if (bytes.starts_with("\xFE\xFF"))
        return Form::BigEndian;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return Form::Utf8;
    std::size_t odd = 0, zeros = 0;
    for (std::size_t i = 1; i < bytes.size(); i += 2, ++odd)
        zeros += bytes[i] == 0;
    return bytes.size() % 2 == 0 && 2 * zeros > odd ? Form::Unmarked : Form::Ansi;
}

// Lines with one line end or mixed ones, a "[]" header over a line at the top or after
// a section, a tail of Ctrl-Z or NULs, in any form.
std::pair<std::string, Form> randomFile(Random& random)
{
    const std::wstring ends[] = {L"\r\n", L"\n", L"\r"};
    const std::wstring& end = random.pick(ends);
    std::vector<std::wstring> lines;
    for (std::size_t count = random.below(14); count > 0; --count)
        lines.push_back(randomLine(random));
    for (const bool top : {true, false}) {
        if (random.chance(10))
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(top ? 0 : random.below(lines.size() + 1)),
                         {top ? L"[]" : L"[" + random.pick(kSections) + L"]", top ? random.pick(kNames) + L"=1" : L"[]",
                          random.pick(kKeys) + L"=" + random.pick(kValues)});
    }
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + (random.chance(10) ? random.pick(ends) : end);
    const std::wstring tails[] = {L"", L"", L"\x1A", std::wstring(3, L'\0'), std::wstring(L"e\x1A\0", 3)};
    text += random.pick(tails);
    const Form form = static_cast<Form>(random.below(kForms));
    return {encoded(text, form), form};
}

// The profile functions' comparison of names: ordinal, ASCII letters in either case.
bool sameName(const std::wstring& first, const std::wstring& second)
{
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    return first.size() == second.size()
        && std::equal(first.begin(), first.end(), second.begin(),
                      [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
}

std::vector<SettingEdit> randomEdits(Random& random)
{
    std::vector<SettingEdit> edits;
    for (std::size_t count = 1 + random.below(3); count > 0; --count) {
        const std::size_t kind = random.below(100); // a key set, a key deleted, a section deleted
        SettingEdit edit {spelled(random, random.pick(kSections), false), std::nullopt, std::nullopt};
        edit.key = kind < 85 ? std::optional(spelled(random, random.pick(kKeys), false)) : std::nullopt;
        edit.value = kind < 60 ? std::optional(random.pick(kValues)) : std::nullopt;
        // As the program's commands: no edit undoes another.
        const auto clashes = [&](const SettingEdit& other) {
            return sameName(other.section, edit.section)
                && (!other.key || !edit.key || sameName(*other.key, *edit.key));
        };
        if (std::none_of(edits.begin(), edits.end(), clashes))
            edits.push_back(edit);
    }
    return edits;
}

std::wstring trimmedBlanks(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    return first == std::wstring::npos ? L"" : text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

template <class Read> std::vector<std::wstring> nulSeparated(Read read)
{
    std::vector<wchar_t> buffer(1024);
    DWORD length = 0;
    while ((length = read(buffer.data(), static_cast<DWORD>(buffer.size()))) + 2 >= buffer.size())
        buffer.resize(buffer.size() * 4);
    std::vector<std::wstring> items;
    for (const wchar_t* item = buffer.data(); item < buffer.data() + length && *item; item += wcslen(item) + 1)
        items.emplace_back(item);
    return items;
}

using ReaderView = std::vector<std::pair<std::wstring, std::vector<std::wstring>>>;

// Each section the reader lists, with its lines, less what the edits touch: deleted
// sections, lines of edited keys, and sections of edits that hold nothing else.
ReaderView untouchedView(const std::wstring& path, const std::vector<SettingEdit>& edits)
{
    // The reader's cache of the file is let go: the file may have been rewritten within
    // one tick of the clock its time stamps come from.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    ReaderView view;
    for (const std::wstring& name : nulSeparated(
             [&](wchar_t*buffer, DWORD size) { return GetPrivateProfileSectionNamesW(buffer, size, path.c_str()); })) {
        const auto touches = [&](const SettingEdit& edit) { return sameName(edit.section, name); };
        if (std::any_of(edits.begin(), edits.end(), [&](auto& edit) { return touches(edit) && !edit.key; }))
            continue;
        std::vector<std::wstring> lines;
        for (const std::wstring& line : nulSeparated([&](wchar_t*buffer, DWORD size) {
                 return GetPrivateProfileSectionW(name.c_str(), buffer, size, path.c_str());
             })) {
            const std::wstring key = trimmedBlanks(line.substr(0, line.find(L'=')));
            if (std::none_of(edits.begin(), edits.end(),
                             [&](auto& edit) { return touches(edit) && edit.key && sameName(*edit.key, key); }))
                lines.push_back(line);
        }
        if (!lines.empty() || std::none_of(edits.begin(), edits.end(), touches))
            view.emplace_back(name, lines);
    }
    return view;
}

// Whether the reader finds in after what it found in before, with the edits made.
bool readsAsEdited(const std::wstring& before, const std::wstring& after, const std::vector<SettingEdit>& edits)
{
    const ReaderView untouched = untouchedView(after, edits);
    for (const SettingEdit& edit : edits) {
        if (!edit.key) {
            const std::vector<std::wstring> names = nulSeparated([&](wchar_t* buffer, DWORD size) {
                return GetPrivateProfileSectionNamesW(buffer, size, after.c_str());
            });
            if (std::any_of(names.begin(), names.end(), [&](auto& name) { return sameName(name, edit.section); }))
                return false;
            continue;
        }
        if (iniValue(after, edit.section, *edit.key)
            != (edit.value ? std::optional(trimmedBlanks(*edit.value)) : std::nullopt))
            return false;
    }
    return untouchedView(before, edits) == untouched;
}

// The blanks the profile functions trim, Ctrl-Z among them.
bool isBlank(wchar_t c)
{
    return c == L' ' || c == 0x1A || (c >= 0x09 && c <= 0x0D);
}

std::wstring cutEnd(std::wstring text, bool nuls)
{
    while (!text.empty() && (isBlank(text.back()) || (nuls && text.back() == L'\0')))
        text.pop_back();
    return text;
}

std::wstring cutStart(const std::wstring& text)
{
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    return text.substr(start);
}

// The first line of before, read in form, that after lacks, as plain text. Lines end
// at CR or LF and mean their text less the blanks at their edges and around the first
// "=" and the NULs that end a name or a value; a header means its text up to its last
// "]", and "[]" nothing. A line but a comment or a header is sought under the same
// header. A line of a deleted section, or of an edited key, may go: a header names its
// section up to its last "]", a line its key up to its "=", both as far as a NUL.
std::optional<std::wstring> lostLine(const std::string& before, const std::string& after, Form form,
                                     const std::vector<SettingEdit>& edits)
{
    struct Line {
        std::wstring text, header, meaning;
        bool plain; // neither a comment nor a header
    };
    const auto linesOf = [](const std::wstring& text) {
        std::vector<Line> lines;
        std::wstring header;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of(L"\r\n", start);
            end = end == std::wstring::npos ? text.size() : end;
            const std::wstring line = cutEnd(cutStart(text.substr(start, end - start)), false);
            start = end + 1;
            const std::size_t close = line.rfind(L']');
            if (line.starts_with(L'[') && close != std::wstring::npos) {
                header = line.substr(0, close + 1);
                lines.push_back({line, header, header, false});
                continue;
            }
            const std::size_t equals = line.find(L'=');
            const std::wstring meaning = equals == std::wstring::npos
                ? cutEnd(line, true)
                : cutEnd(line.substr(0, equals), true) + L"=" + cutEnd(cutStart(line.substr(equals + 1)), true);
            if (!meaning.empty())
                lines.push_back({line, header, meaning, !line.starts_with(L';')});
        }
        return lines;
    };
    const auto upToNul = [](const std::wstring& text) { return text.substr(0, text.find(L'\0')); };
    const auto mayGo = [&](const Line& line) {
        if (line.header.empty())
            return false;
        const std::wstring section = upToNul(line.header.substr(1, line.header.size() - 2));
        const std::wstring key = upToNul(cutEnd(line.text.substr(0, line.text.find(L'=')), false));
        return std::any_of(edits.begin(), edits.end(), [&](const SettingEdit& edit) {
            return sameName(edit.section, section) && (!edit.key || (line.plain && sameName(*edit.key, key)));
        });
    };
    const auto compared = [](const Line& line) {
        return line.plain ? line.header + L'\n' + line.meaning : line.meaning;
    };
    std::vector<std::wstring> left;
    for (const Line& line : linesOf(decoded(after, form)))
        left.push_back(compared(line));
    for (const Line& line : linesOf(decoded(before, form))) {
        if (line.meaning == L"[]" || mayGo(line))
            continue;
        const auto found = std::find(left.begin(), left.end(), compared(line));
        if (found == left.end())
            return line.text;
        left.erase(found);
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    const long files = argc > 1 ? std::atol(argv[1]) : 500;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1;
    Random random {std::mt19937(seed)};
    const TempFolder folder;
    const std::wstring product = folder.desktopIni(), copy = folder.at(L"c.ini"), original = folder.at(L"o.ini");
    Win32FolderFiles system;
    long done = 0, refused = 0, textRefused = 0, unmarked = 0, falseRefusals = 0, missed = 0, lost = 0, faults = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long file = 0; file < files; ++file) {
        const auto [bytes, made] = randomFile(random);
        const std::vector<SettingEdit> edits = randomEdits(random);
        SetFileAttributesW(product.c_str(), FILE_ATTRIBUTE_NORMAL);
        for (const std::wstring& path : {product, copy, original})
            writeFile(path, bytes);
        const CommandOutcome outcome = writeSettings(system, folder.path(), {product, true}, edits, false);
        for (const SettingEdit& edit : edits) {
            for (int again = edit.key && edit.value ? 1 : 16; again > 0; --again)
                WritePrivateProfileStringW(edit.section.c_str(), edit.key ? edit.key->c_str() : nullptr,
                                           edit.value ? edit.value->c_str() : nullptr, copy.c_str());
        }
        // A file in UTF-16 without a mark is refused whatever the edits. Letters the
        // code page lacks are refused up front for every file but a UTF-16
        // little-endian one, with the reason the file cannot take them. A refusal
        // leaves the file as it was.
        const bool foreign = std::any_of(edits.begin(), edits.end(), [](auto& e) {
            BOOL lossy = FALSE;
            const std::wstring value = e.value.value_or(L"");
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, value.data(), static_cast<int>(value.size()), nullptr, 0,
                                nullptr, &lossy);
            return lossy;
        });
        // The program reads a file in the form the rule gives it; a file made in UTF-16
        // without a mark that the rule takes for ANSI is read both ways, and a line
        // lost in either is lost.
        const Form form = formOf(bytes);
        const auto loses = [&](const std::wstring& path) {
            const std::string now = readFile(path);
            return lostLine(bytes, now, made, edits) || (form != made && lostLine(bytes, now, form, edits));
        };
        const Kind textKind = form == Form::Utf16                            ? Kind::Done
            : form == Form::Utf8 || form == Form::BigEndian                  ? Kind::MarkRefused
                                                                             : Kind::KeyRefused;
        const bool fault = form == Form::Unmarked ? (++unmarked, outcome.kind != Kind::UnmarkedUnicode)
            : foreign && textKind != Kind::Done   ? (++textRefused, outcome.kind != textKind)
            : outcome.kind == Kind::Done
            ? (++done, (!readsAsEdited(original, product, edits) && ++missed)
                           | (loses(product) && ++lost))
            : outcome.kind == Kind::LineChanged
            ? (++refused,
               readsAsEdited(original, copy, edits) && !loses(copy) && ++falseRefusals)
            : true;
        if (fault || (outcome.kind != Kind::Done && readFile(product) != bytes)) {
            ++faults;
            std::printf("fault: outcome %d, line \"%s\", edits", static_cast<int>(outcome.kind),
                        utf8(outcome.detail).c_str());
            for (const SettingEdit& edit : edits)
                std::printf(" [%s] %s=%s;", utf8(edit.section).c_str(), utf8(edit.key.value_or(L"-")).c_str(),
                            utf8(edit.value.value_or(L"-")).c_str());
            std::printf(" file");
            for (const char c : bytes)
                std::printf(" %02X", static_cast<unsigned char>(c));
            std::printf("\n");
        }
    }
    std::printf("%ld files (seed %u) in %.1f s: %ld done, %ld refused, %ld refused for their letters, "
                "%ld for UTF-16 without a mark; %ld false refusals, %ld missed changes, %ld lost lines, "
                "%ld faults in all\n",
                files, seed, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), done,
                refused, textRefused, unmarked, falseRefusals, missed, lost, faults);
    return faults == 0 ? 0 : 1;
}
