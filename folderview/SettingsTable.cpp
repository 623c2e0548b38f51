#include "folderview/SettingsTable.h"

#include "folderview/FileCopy.h"
#include "support/tsPath.h"
#include "support/tsText.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace {

// The path with its %variables% replaced, as the shell reads the settings file's paths.
std::wstring expandEnvironment(const std::wstring& path)
{
    std::wstring expanded(ExpandEnvironmentStringsW(path.c_str(), nullptr, 0), L'\0');
    if (expanded.empty()
        || !ExpandEnvironmentStringsW(path.c_str(), expanded.data(), static_cast<DWORD>(expanded.size())))
        return path;
    expanded.pop_back(); // the terminating NUL
    return expanded;
}

std::optional<std::wstring> unlessEmpty(bool apply, const std::wstring& text)
{
    return apply && !text.empty() ? std::optional(text) : std::nullopt;
}

} // namespace

void splitIconText(const std::wstring& icon, std::wstring& path, int& index)
{
    path = icon;
    index = 0;
    const std::size_t comma = icon.rfind(L',');
    if (comma == std::wstring::npos)
        return;
    std::wstring number = icon.substr(comma + 1);
    number.erase(0, number.find_first_not_of(L' '));
    number.erase(number.find_last_not_of(L' ') + 1);
    std::int32_t value = 0;
    // "path," names the icon file, not a file whose name ends in a comma.
    const bool decimal = number.find_first_not_of(L"-0123456789") == std::wstring::npos;
    if (decimal && (number.empty() || tsParseLong(number, value))) {
        path = icon.substr(0, comma);
        index = value;
    }
}

void readText(FolderFiles& files, const std::wstring& path, const wchar_t* section, const wchar_t* key,
              std::wstring& text)
{
    if (std::wstring read; files.readString(section, key, L"", path, read))
        text = read;
}

// A failed key test counts as a present key, so the colour is read anyway.
void readColor(FolderFiles& files, const std::wstring& path, const wchar_t* section, const wchar_t* key,
               ColorValue unset, int& on, ColorValue& color)
{
    bool present = false;
    const bool tested = files.isKeyExist(section, key, path, present).ok();
    std::int32_t value = 0;
    const bool isColor = (present || !tested) && files.readLong(section, key, 0, path, value) && isStoredColor(value);
    on = isColor ? kTicked : kUnticked;
    color = isColor ? value : unset;
}

// IconResource wins over IconFile with IconIndex, whose missing index is 0.
void readIcon(FolderFiles& files, const std::wstring& path, const wchar_t* section, std::wstring& icon)
{
    std::wstring resource, file, index;
    readText(files, path, section, kIconResourceKey, resource);
    readText(files, path, section, kIconFileKey, file);
    if (!files.readString(section, kIconIndexKey, L"0", path, index))
        index = L"0";
    icon = !resource.empty() ? resource : file.empty() ? L"" : file + L"," + index;
}

void addTextEdits(const wchar_t* section, const wchar_t* key, SettingKind kind, const std::wstring& text, bool apply,
                  std::vector<SettingEdit>& edits)
{
    if (kind != SettingKind::Icon) {
        edits.push_back({section, key, unlessEmpty(apply, text)});
        return;
    }
    std::wstring file;
    int index = 0;
    splitIconText(text, file, index);
    const std::wstring number = tsDecimal(index);
    // An empty icon text deletes all three keys.
    const bool set = apply && !text.empty();
    edits.push_back({section, kIconResourceKey, unlessEmpty(set, file + L"," + number)});
    edits.push_back({section, kIconFileKey, unlessEmpty(set, file)});
    edits.push_back({section, kIconIndexKey, unlessEmpty(set, number)});
}

void addColorEdit(const wchar_t* section, const wchar_t* key, int on, ColorValue color, bool apply,
                  std::vector<SettingEdit>& edits)
{
    std::wstring text;
    if (!apply || on != kTicked || !tsHexEx4(color, text))
        text.clear();
    edits.push_back({section, key, unlessEmpty(apply, text)});
}

ChoiceList choiceList(std::span<const SettingChoice> choices, const std::wstring& value)
{
    // Folder types are ASCII words: the locale's comparison would take look-alike letters for them.
    const auto sameIgnoringAsciiCase = [&](const wchar_t* choice) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
        return std::equal(value.begin(), value.end(), choice, choice + wcslen(choice),
                          [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
    };
    ChoiceList list;
    list.shown = choices.size();
    for (std::size_t at = 0; at < choices.size(); ++at) {
        list.entries.emplace_back(choices[at].caption);
        if (list.shown == choices.size() && sameIgnoringAsciiCase(choices[at].value))
            list.shown = at;
    }
    if (list.shown == choices.size())
        list.entries.push_back(value);
    return list;
}

std::wstring choiceValue(std::span<const SettingChoice> choices, const std::wstring& shown, std::size_t picked)
{
    if (picked == choiceList(choices, shown).shown || picked >= choices.size())
        return shown;
    return choices[picked].value;
}

std::wstring settingFile(SettingKind kind, const std::wstring& text, const std::wstring& folder)
{
    std::wstring path = text;
    int index = 0;
    if (kind == SettingKind::Icon) {
        splitIconText(text, path, index);
        path = expandEnvironment(path);
    }
    bool relative = false;
    std::wstring file = path;
    if (tsIsRelativePath(path, relative) && relative && !path.empty())
        (void)tsBuildFileName(folder, path, file); // an empty folder leaves the path as it is
    return file;
}

CommandOutcome copySettingFile(FolderFiles& files, const std::wstring& folder, SettingKind kind, const wchar_t* key,
                               std::wstring& text, Renewal* renewal)
{
    const std::wstring source = settingFile(kind, text, folder);
    std::wstring name;
    if (kind != SettingKind::Icon) {
        CommandOutcome copied = copyIntoFolder(files, folder, source, key, name, renewal);
        if (copied.kind == CommandOutcome::Kind::Done)
            text = name;
        return copied;
    }
    std::wstring path;
    int index = 0;
    splitIconText(text, path, index);
    // An icon inside a program or library is copied as that one icon, not as the whole file.
    CommandOutcome copied = isIcoFileName(source)
        ? copyIntoFolder(files, folder, source, key, name, renewal)
        : copyIconIntoFolder(files, folder, source, index, key, name, renewal);
    if (copied.kind == CommandOutcome::Kind::Done)
        text = name + L"," + tsDecimal(index);
    return copied;
}
