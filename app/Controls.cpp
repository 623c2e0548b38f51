#include "app/Controls.h"

#include "support/ColorSwatch.h"

#include <commctrl.h>

namespace {

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass controlClass(ControlKind kind)
{
    constexpr DWORD tabStop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::ReadOnlyTextBox: return {L"EDIT", tabStop | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::TextBox: return {L"EDIT", tabStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {L"BUTTON", tabStop | BS_PUSHBUTTON, 0};
    case ControlKind::DefaultButton: return {L"BUTTON", tabStop | BS_DEFPUSHBUTTON, 0};
    case ControlKind::CheckBox: return {L"BUTTON", tabStop | BS_AUTOCHECKBOX, 0};
    // Its height is the open list's; the closed box takes the font's.
    case ControlKind::DropDownList: return {L"COMBOBOX", tabStop | CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case ControlKind::Swatch: return {kColorSwatchClass, 0, 0};
    case ControlKind::IconArea: return {L"BUTTON", tabStop | BS_OWNERDRAW, 0}; // the window draws it
    case ControlKind::List:
        return {WC_LISTVIEWW, tabStop | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

} // namespace

void createLayoutControls(HWND window, std::span<const ControlSpec> rows, int dpi, HFONT font)
{
    const auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlSpec& row : rows) {
        const ControlClass kind = controlClass(row.kind);
        const HWND child =
            CreateWindowExW(kind.exStyle, kind.className, row.caption, WS_CHILD | WS_VISIBLE | kind.style,
                            scale(row.left), scale(row.top), scale(row.width), scale(row.height), window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

HFONT createWindowFont(int dpi)
{
    return CreateFontW(-MulDiv(kWindowFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       kWindowFontFace);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void showListColumns(HWND listView, std::span<const Text> captions, std::span<const int> widths, int dpi)
{
    ListView_SetExtendedListViewStyle(listView, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < captions.size() && i < widths.size(); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = MulDiv(widths[i], dpi, 96);
        column.pszText = const_cast<wchar_t*>(captions[i].c_str());
        ListView_InsertColumn(listView, static_cast<int>(i), &column);
    }
}

void keepFocus(HWND window, UINT state, HWND& lastFocus)
{
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window, focus))
            lastFocus = focus;
    } else if (lastFocus) {
        SetFocus(lastFocus);
    }
}

void showColorControls(HWND window, int check, int swatch, int on, ColorValue color)
{
    SendMessageW(GetDlgItem(window, check), BM_SETCHECK, static_cast<WPARAM>(on), 0);
    SendMessageW(GetDlgItem(window, swatch), kSwatchSetColor, static_cast<WPARAM>(color), 0);
}

void readColorControls(HWND window, int check, int swatch, int& on, ColorValue& color)
{
    on = static_cast<int>(SendMessageW(GetDlgItem(window, check), BM_GETCHECK, 0, 0));
    color = static_cast<ColorValue>(SendMessageW(GetDlgItem(window, swatch), kSwatchGetColor, 0, 0));
}

void showChoice(HWND window, int list, std::span<const SettingChoice> choices, const std::wstring& value)
{
    const HWND box = GetDlgItem(window, list);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    const ChoiceList shown = choiceList(choices, value);
    for (const std::wstring& entry : shown.entries)
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(box, CB_SETCURSEL, shown.shown, 0);
}

std::wstring readChoice(HWND window, int list, std::span<const SettingChoice> choices, const std::wstring& shown)
{
    const LRESULT picked = SendMessageW(GetDlgItem(window, list), CB_GETCURSEL, 0, 0);
    return picked == CB_ERR ? shown : choiceValue(choices, shown, static_cast<std::size_t>(picked));
}
