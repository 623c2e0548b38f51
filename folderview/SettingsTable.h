#pragma once
#include "folderview/CommandOutcome.h"
#include "folderview/FileCopy.h"
#include "folderview/FolderFiles.h"
#include "folderview/SettingsFormat.h"
#include "folderview/SettingsWriter.h"
#include "support/LocalText.h"

#include <span>
#include <string>
#include <tuple>
#include <vector>

// Check box values as the windows report them; only exactly kTicked counts as on, so a
// greyed (third-state) box counts as off.
inline constexpr int kUnticked = 0;
inline constexpr int kTicked = 1;

// Every setting a window edits is one row of a table: where the settings file keeps
// it, what kind of value it is and the field of the window's state that holds it. One
// loader and one builder of edits serve every table; which controls show a row is the
// window's business (app/SettingControls.h).

enum class SettingKind {
    Text, // one key; the empty text deletes it
    Choice, // a text, shown as one of its row's choices; a value not among them is kept as it is
    Color, // one key, written while its tick is on; a check box and a swatch show it
    // "path,index" in IconResource, which Windows Vista and later read, and path and
    // index in IconFile and IconIndex, which Windows 98 to XP read; key is IconResource
    Icon,
};

// A value a choice may take, and the words the window shows for it.
struct SettingChoice {
    const wchar_t* value;
    Text caption;
};

template <typename State> struct Setting {
    const wchar_t* section;
    const wchar_t* key;
    SettingKind kind;
    std::wstring State::*text = nullptr; // Text and Icon
    int State::*on = nullptr; // Color: its tick
    ColorValue State::*color = nullptr; // Color
    ColorValue unset = kBlack; // Color: shown while none is stored
    std::span<const SettingChoice> choices = {}; // Choice
    int State::*copy = nullptr; // Text and Icon naming a file: ticked, Apply copies it into the folder
};

// The icon text split at its last comma; a missing, empty or unreadable index is 0.
void splitIconText(const std::wstring& icon, std::wstring& path, int& index);

// A choice's drop-down list for a value: every choice's words in their order, then the
// value itself when it is none of the choices, even when it reads like one's words, so
// that each entry stands for one value. A value among them ignoring ASCII case shows as
// that choice's entry.
struct ChoiceList {
    std::vector<std::wstring> entries;
    std::size_t shown = 0; // the entry that stands for the value
};
ChoiceList choiceList(std::span<const SettingChoice> choices, const std::wstring& value);
// The value that the picked entry of choiceList(choices, shown) stands for: shown
// itself, as it was spelled, while its entry stays picked.
std::wstring choiceValue(std::span<const SettingChoice> choices, const std::wstring& shown, std::size_t picked);

// The file a row's text names, as the shell finds it: the icon's without its index and
// with its %variables% replaced, a relative path taken from the folder (an empty folder
// leaves it as it is).
std::wstring settingFile(SettingKind kind, const std::wstring& text, const std::wstring& folder);

// One row's work, whatever the state it belongs to.
void readText(FolderFiles& files, const std::wstring& path, const wchar_t* section, const wchar_t* key,
              std::wstring& text);
void readColor(FolderFiles& files, const std::wstring& path, const wchar_t* section, const wchar_t* key,
               ColorValue unset, int& on, ColorValue& color);
void readIcon(FolderFiles& files, const std::wstring& path, const wchar_t* section, std::wstring& icon);
// Apply writes the value (an empty text or an unticked colour deletes the key); Remove
// deletes the row's keys.
void addTextEdits(const wchar_t* section, const wchar_t* key, SettingKind kind, const std::wstring& text, bool apply,
                  std::vector<SettingEdit>& edits);
void addColorEdit(const wchar_t* section, const wchar_t* key, int on, ColorValue color, bool apply,
                  std::vector<SettingEdit>& edits);
// Copies the file the row's text names into the folder (of an icon inside a program or
// library, that one icon as an .ico) and makes the text name the copy; with renewal, by
// the icon and comment dialog's rule (folderview/FileCopy.h).
CommandOutcome copySettingFile(FolderFiles& files, const std::wstring& folder, SettingKind kind, const wchar_t* key,
                               std::wstring& text, Renewal* renewal = nullptr);

// Loads every row from the settings file at path into state. The readers refuse only
// what finding the file already refused, so a read that fails keeps its field; a
// colour that cannot be read as one in range shows as none.
template <typename State>
void loadSettings(FolderFiles& files, const std::wstring& path, std::span<const Setting<State>> rows, State& state)
{
    for (const Setting<State>& row : rows) {
        if (row.kind == SettingKind::Color)
            readColor(files, path, row.section, row.key, row.unset, state.*row.on, state.*row.color);
        else if (row.kind == SettingKind::Icon)
            readIcon(files, path, row.section, state.*row.text);
        else
            readText(files, path, row.section, row.key, state.*row.text);
    }
}

// Without a settings file no colour is set; texts stay as they are.
template <typename State> void resetColors(std::span<const Setting<State>> rows, State& state)
{
    for (const Setting<State>& row : rows) {
        if (row.kind == SettingKind::Color)
            std::tie(state.*row.on, state.*row.color) = std::tuple(kUnticked, row.unset);
    }
}

// The edits that write state's rows (apply) or delete them. With loaded, Apply leaves
// the rows the user did not change as the file has them.
template <typename State>
void addSettingEdits(std::span<const Setting<State>> rows, const State& state, const State* loaded, bool apply,
                     std::vector<SettingEdit>& edits)
{
    for (const Setting<State>& row : rows) {
        if (row.kind == SettingKind::Color) {
            if (!apply || !loaded
                || std::tuple(state.*row.on, state.*row.color) != std::tuple(loaded->*row.on, loaded->*row.color))
                addColorEdit(row.section, row.key, state.*row.on, state.*row.color, apply, edits);
        } else if (!apply || !loaded || state.*row.text != loaded->*row.text) {
            addTextEdits(row.section, row.key, row.kind, state.*row.text, apply, edits);
        }
    }
}

// Before Apply writes: a text with a line break or another control character is
// refused, then each file to be copied into the folder is copied and its row names the
// copy. Done, or why not; a refusal comes before any copy. With superseded, a copy takes
// a new name when its bytes are new (the dialog's rule), and the earlier copies it
// supersedes, beside the row's copy in loaded, are added there.
template <typename State>
CommandOutcome copySettingFiles(FolderFiles& files, const std::wstring& folder, std::span<const Setting<State>> rows,
                                State& state, const State* loaded = nullptr,
                                std::vector<std::wstring>* superseded = nullptr)
{
    for (const Setting<State>& row : rows) {
        if (row.text && holdsControlCharacter(state.*row.text))
            return {CommandOutcome::Kind::ControlCharacter, row.key};
    }
    for (const Setting<State>& row : rows) {
        if (!row.copy || state.*row.copy != kTicked || (state.*row.text).empty())
            continue;
        Renewal renewal;
        if (loaded)
            renewal.previous = settingFile(row.kind, loaded->*row.text, L"");
        if (CommandOutcome copied =
                copySettingFile(files, folder, row.kind, row.key, state.*row.text, superseded ? &renewal : nullptr);
            copied.kind != CommandOutcome::Kind::Done)
            return copied;
        if (superseded)
            superseded->insert(superseded->end(), renewal.superseded.begin(), renewal.superseded.end());
    }
    return {};
}
