#pragma once
#include "folderview/SettingsTable.h"
#include "resources/LayoutTable.h"

#include <windows.h>

#include <span>
#include <string>

// Making and reading the controls of the program's windows.

// Creates the controls of a layout table in the window, in the table's order, scaled
// from 96 dots per inch to dpi, each with the font.
void createLayoutControls(HWND window, std::span<const ControlSpec> rows, int dpi, HFONT font);

// The windows' font (see LayoutTable.h) at the screen's resolution; the caller owns it.
HFONT createWindowFont(int dpi);

// The whole text of a window or control.
std::wstring windowText(HWND window);

// A list view of whole rows with its columns' captions and widths (at 96 dots per inch,
// scaled to dpi), one caption for each width.
void showListColumns(HWND listView, std::span<const Text> captions, std::span<const int> widths, int dpi);

// For WM_ACTIVATE with its state: a window that is not a dialog must keep its own
// focus across deactivation, in lastFocus.
void keepFocus(HWND window, UINT state, HWND& lastFocus);

// A choice's drop-down list (choiceList), with the value's entry picked; readChoice
// gives back the picked entry's value, shown as it was while its entry stays picked.
void showChoice(HWND window, int list, std::span<const SettingChoice> choices, const std::wstring& value);
std::wstring readChoice(HWND window, int list, std::span<const SettingChoice> choices, const std::wstring& shown);

// A colour setting's check box and swatch.
void showColorControls(HWND window, int check, int swatch, int on, ColorValue color);
void readColorControls(HWND window, int check, int swatch, int& on, ColorValue& color);

// Where a window shows one row of a settings table (the row of that key): the control
// that shows its value (the text box, the list, or the colour's swatch) and the check
// box of a colour, or of a file to copy.
struct SettingControls {
    const wchar_t* key;
    int control;
    int check = 0;
};

// Whether a window's controls follow its table's rows one for one, in order.
template <typename State>
constexpr bool controlsFollowRows(std::span<const Setting<State>> rows, std::span<const SettingControls> controls)
{
    if (rows.size() != controls.size())
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].key != controls[i].key)
            return false;
    }
    return true;
}

// Shows each row of a settings table in its controls, and reads them back into state.
template <typename State>
void showSettings(HWND window, std::span<const Setting<State>> rows, std::span<const SettingControls> controls,
                  const State& state)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Setting<State>& row = rows[i];
        const SettingControls& shown = controls[i];
        if (row.kind == SettingKind::Color)
            showColorControls(window, shown.check, shown.control, state.*row.on, state.*row.color);
        else if (row.kind == SettingKind::Choice)
            showChoice(window, shown.control, row.choices, state.*row.text);
        else
            SetWindowTextW(GetDlgItem(window, shown.control), (state.*row.text).c_str());
        if (row.copy)
            SendMessageW(GetDlgItem(window, shown.check), BM_SETCHECK, static_cast<WPARAM>(state.*row.copy), 0);
    }
}

// state comes in holding what was shown, which a choice left as it was keeps.
template <typename State>
void readSettings(HWND window, std::span<const Setting<State>> rows, std::span<const SettingControls> controls,
                  State& state)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Setting<State>& row = rows[i];
        const SettingControls& shown = controls[i];
        if (row.kind == SettingKind::Color)
            readColorControls(window, shown.check, shown.control, state.*row.on, state.*row.color);
        else if (row.kind == SettingKind::Choice)
            state.*row.text = readChoice(window, shown.control, row.choices, state.*row.text);
        else
            state.*row.text = windowText(GetDlgItem(window, shown.control));
        if (row.copy)
            state.*row.copy = static_cast<int>(SendMessageW(GetDlgItem(window, shown.check), BM_GETCHECK, 0, 0));
    }
}
