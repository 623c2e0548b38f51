#include "tests/window/WindowHarness.h"

#include "support/Handles.h"

#include <iterator>

namespace {

using MainWindowLayout = MainWindowTest;

int scaled(int pixels)
{
    return MulDiv(pixels, GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSX), 96);
}

// A few rows by their own numbers, at the screen's resolution (the suite runs at 96
// and at 120 DPI), and the tab order.
TEST_F(MainWindowLayout, SizesPositionsAndTabOrderScaleWithTheScreen)
{
    open();
    RECT client;
    GetClientRect(window(), &client);
    EXPECT_EQ(std::tuple(client.right, client.bottom), std::tuple(scaled(385), scaled(185)));
    const std::tuple<ControlId, int, int, int, int> rows[] = {
        {txtWorkFolder, 80, 12, 265, 21}, {chkCopyPicture, 80, 68, 253, 13}, {cmdSkin0, 140, 144, 113, 29}};
    for (const auto& [id, left, top, width, height] : rows) {
        RECT frame;
        GetWindowRect(item(id), &frame);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_EQ(std::tuple(frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top),
                  std::tuple(scaled(left), scaled(top), scaled(width), scaled(height)))
            << "control " << id;
    }
    EXPECT_EQ(text(cmdSkin0), L"Установить!");
    EXPECT_NE(GetWindowLongW(item(txtWorkFolder), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(GetWindowLongW(item(txtPicture), GWL_STYLE) & ES_READONLY, 0);

    const ControlId tabOrder[] = {txtWorkFolder, cmdBrowseFolder,    txtPicture,   cmdBrowse,          chkCopyPicture,
                                  chkTextColor,  cmdBrowseTextColor, chkBackColor, cmdBrowseBackColor, cmdSkin0,
                                  cmdSkin1};
    HWND current = item(txtWorkFolder);
    for (std::size_t stop = 1; stop <= std::size(tabOrder); ++stop) {
        current = GetNextDlgTabItem(window(), current, FALSE);
        EXPECT_EQ(GetDlgCtrlID(current), tabOrder[stop % std::size(tabOrder)]) << "tab stop " << stop;
    }
}

// Every control that draws text draws it in Tahoma 9 pt, and every caption fits the
// room its control leaves for text, so none is clipped or wrapped (a text box's text
// scrolls instead).
TEST_F(MainWindowLayout, CaptionsAreTahomaAndFitTheirControls)
{
    open();
    const WindowDC dc(nullptr);
    for (HWND control = GetWindow(window(), GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t kind[16] = {}, caption[128] = {};
        GetClassNameW(control, kind, 16);
        const int length = GetWindowTextW(control, caption, 128);
        if (lstrcmpiW(kind, L"Static") != 0 && lstrcmpiW(kind, L"Button") != 0 && lstrcmpiW(kind, L"Edit") != 0)
            continue; // the colour swatches draw no text
        SCOPED_TRACE(utf8(caption));
        SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc.get(), LF_FACESIZE, face);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc.get(), &metrics);
        EXPECT_STREQ(face, L"Tahoma");
        EXPECT_EQ(std::tuple(metrics.tmWeight, metrics.tmCharSet, metrics.tmHeight - metrics.tmInternalLeading),
                  std::tuple(FW_NORMAL, RUSSIAN_CHARSET, scaled(12))); // 9 pt
        SIZE extent = {};
        GetTextExtentPoint32W(dc.get(), caption, length, &extent);
        RECT area;
        GetClientRect(control, &area);
        // A check box draws its text past the box and a gap; a button inside its edges.
        if (lstrcmpiW(kind, L"Button") == 0)
            area.right -= (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX
                ? GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2
                : 2 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_TRUE(lstrcmpiW(kind, L"Edit") == 0 || extent.cx <= area.right) << extent.cx << " > " << area.right;
    }
}

// The window starts in the folder box, all of its text selected.
TEST_F(MainWindowLayout, FocusOnTheFolderOrPictureBoxSelectsItsWholeText)
{
    open();
    SetWindowTextW(item(txtPicture), L"C:\\Картинки\\море.jpg");
    const auto selection = [this](ControlId box) {
        DWORD start = 1, end = 0;
        SendMessageW(item(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return std::tuple(GetFocus() == item(box), start, end);
    };
    EXPECT_EQ(selection(txtWorkFolder), std::tuple(true, 0u, text(txtWorkFolder).size()));
    for (const ControlId box : {txtPicture, txtWorkFolder}) {
        SendMessageW(item(box), EM_SETSEL, 2, 3);
        SetFocus(item(box));
        pump();
        EXPECT_EQ(selection(box), std::tuple(true, 0u, text(box).size()));
    }
}

} // namespace
