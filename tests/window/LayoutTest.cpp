#include "tests/window/WindowHarness.h"

#include "common/Screen.h"
#include "support/ColorSwatch.h"

#include <iterator>

namespace {

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, SizesPositionsAndTabOrderScaleWithTheScreen)
{
    open();
    RECT client;
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, scaled(385));
    EXPECT_EQ(client.bottom, scaled(185));

    struct Row {
        ControlId id;
        const wchar_t* className;
        const wchar_t* caption; // none for the box
        int left, top, width, height;
    };
    const Row rows[] = {
        {txtWorkFolder, L"Edit", nullptr, 80, 12, 265, 21},
        {chkCopyPicture, L"Button", L"Копировать в настраиваемый каталог", 80, 68, 253, 13},
        {cmdSkin0, L"Button", L"Установить!", 140, 144, 113, 29},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        EXPECT_EQ(lstrcmpiW(classOf(item(row.id)).c_str(), row.className), 0) << utf8(classOf(item(row.id)));
        if (row.caption) {
            EXPECT_EQ(text(row.id), row.caption);
        }
        RECT frame;
        GetWindowRect(item(row.id), &frame);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_EQ(frame.left, scaled(row.left));
        EXPECT_EQ(frame.top, scaled(row.top));
        EXPECT_EQ(frame.right - frame.left, scaled(row.width));
        EXPECT_EQ(frame.bottom - frame.top, scaled(row.height));
    }
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
// room its control leaves for text, so none is clipped or wrapped.
TEST_F(MainWindowLayout, CaptionsAreTahomaAndFitTheirControls)
{
    open();
    const HDC dc = GetDC(nullptr);
    for (HWND control = GetWindow(window(), GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const std::wstring className = classOf(control);
        if (lstrcmpiW(className.c_str(), kColorSwatchClass) == 0)
            continue; // draws no text
        SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(control));
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        EXPECT_STREQ(face, L"Tahoma");
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
        EXPECT_EQ(metrics.tmCharSet, RUSSIAN_CHARSET);
        EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(9, screenDpi(), 72));
        if (lstrcmpiW(className.c_str(), L"Edit") == 0)
            continue; // its text scrolls

        wchar_t caption[128] = {};
        const int length = GetWindowTextW(control, caption, 128);
        SIZE extent = {};
        GetTextExtentPoint32W(dc, caption, length, &extent);
        RECT area;
        GetClientRect(control, &area);
        // A check box draws its text past the box and a gap; a button inside its edges.
        if (lstrcmpiW(className.c_str(), L"Button") == 0) {
            const bool checkBox = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
            area.right -= checkBox ? GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2
                                   : 2 * GetSystemMetrics(SM_CXEDGE);
        }
        EXPECT_LE(extent.cx, area.right) << utf8(caption);
    }
    ReleaseDC(nullptr, dc);
}

TEST_F(MainWindowLayout, FocusOnTheFolderOrPictureBoxSelectsItsWholeText)
{
    open();
    EXPECT_EQ(GetFocus(), item(txtWorkFolder)) << "the window starts in the folder box";
    SetWindowTextW(item(txtPicture), L"C:\\Картинки\\море.jpg");
    const ControlId boxes[] = {txtWorkFolder, txtPicture, txtWorkFolder};
    for (std::size_t step = 0; step < std::size(boxes); ++step) {
        const HWND box = item(boxes[step]);
        if (step > 0) {
            SendMessageW(box, EM_SETSEL, 2, 3);
            SetFocus(box);
            pump();
        }
        DWORD start = 1, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << "step " << step;
        EXPECT_EQ(end, text(boxes[step]).size()) << "step " << step;
    }
}

} // namespace
