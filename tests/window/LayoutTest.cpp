#include "tests/window/WindowHarness.h"

#include "common/Screen.h"
#include "support/ColorSwatch.h"

#include <iterator>
#include <vector>

namespace {

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, ControlsFontsAndTabOrderFollowTheLayoutTable)
{
    open();
    RECT client;
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, scaled(kMainClientWidth));
    EXPECT_EQ(client.bottom, scaled(kMainClientHeight));

    int children = 0;
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, static_cast<int>(std::size(kMainControls)));

    std::vector<int> tabStops;
    for (const ControlSpec& row : kMainControls) {
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        const HWND control = item(row.id);
        ASSERT_NE(control, nullptr);
        const bool edit = row.kind == ControlKind::TextBox || row.kind == ControlKind::ReadOnlyTextBox;
        const wchar_t* expectedClass = edit   ? L"Edit"
            : row.kind == ControlKind::Label  ? L"Static"
            : row.kind == ControlKind::Swatch ? kColorSwatchClass
                                              : L"Button";
        EXPECT_EQ(lstrcmpiW(classOf(control).c_str(), expectedClass), 0) << utf8(classOf(control));
        EXPECT_TRUE(IsWindowVisible(control));
        if (edit) {
            EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & ES_READONLY) != 0,
                      row.kind == ControlKind::ReadOnlyTextBox);
        } else {
            EXPECT_EQ(text(row.id), row.caption);
        }
        RECT frame;
        GetWindowRect(control, &frame);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_EQ(frame.left, scaled(row.left));
        EXPECT_EQ(frame.top, scaled(row.top));
        EXPECT_EQ(frame.right - frame.left, scaled(row.width));
        EXPECT_EQ(frame.bottom - frame.top, scaled(row.height));

        if (row.kind == ControlKind::Swatch)
            continue; // draws no text and takes no focus
        if (row.kind != ControlKind::Label)
            tabStops.push_back(row.id);
        LOGFONTW font = {};
        ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font), 0);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(font.lfCharSet, 204);
        EXPECT_EQ(font.lfHeight, -MulDiv(9, screenDpi(), 72));
    }

    HWND current = item(txtWorkFolder);
    for (std::size_t stop = 1; stop <= tabStops.size(); ++stop) {
        current = GetNextDlgTabItem(window(), current, FALSE);
        EXPECT_EQ(GetDlgCtrlID(current), tabStops[stop % tabStops.size()]) << "tab stop " << stop;
    }
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
