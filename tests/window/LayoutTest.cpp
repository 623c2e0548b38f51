#include "tests/window/WindowHarness.h"

#include "common/Screen.h"
#include "support/ColorSwatch.h"

#include <iterator>
#include <vector>

namespace {

bool takesFocus(ControlKind kind)
{
    return kind != ControlKind::Label && kind != ControlKind::Swatch;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring expectedClass(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return L"STATIC";
    case ControlKind::ReadOnlyTextBox:
    case ControlKind::TextBox: return L"EDIT";
    case ControlKind::Swatch: return kColorSwatchClass;
    default: return L"BUTTON";
    }
}

std::wstring upper(std::wstring text)
{
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct Selection {
    DWORD start = 0, end = 0;
};

Selection selectionOf(HWND edit)
{
    Selection selection;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start), reinterpret_cast<LPARAM>(&selection.end));
    return selection;
}

class MainWindowLayout : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        open(folder.path());
    }
    TempFolder folder;
};

TEST_F(MainWindowLayout, ControlsSitWhereTheLayoutPutsThemAtTheScreensResolution)
{
    EXPECT_EQ(classOf(window()), L"QuenmarkMain");
    wchar_t caption[64] = {};
    GetWindowTextW(window(), caption, 64);
    EXPECT_STREQ(caption, L"Quenmark");

    RECT client;
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right - client.left, scaled(kMainClientWidth));
    EXPECT_EQ(client.bottom - client.top, scaled(kMainClientHeight));

    int children = 0;
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, static_cast<int>(std::size(kMainControls)));

    for (const ControlSpec& row : kMainControls) {
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        const HWND control = item(row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(upper(classOf(control)), upper(expectedClass(row.kind)));
        EXPECT_TRUE(IsWindowVisible(control));
        if (row.kind != ControlKind::ReadOnlyTextBox && row.kind != ControlKind::TextBox) {
            EXPECT_EQ(text(row.id), row.caption);
        }

        RECT frame;
        GetWindowRect(control, &frame);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_EQ(frame.left, scaled(row.left));
        EXPECT_EQ(frame.top, scaled(row.top));
        EXPECT_EQ(frame.right - frame.left, scaled(row.width));
        EXPECT_EQ(frame.bottom - frame.top, scaled(row.height));
    }

    const auto buttonType = [this](ControlId id) { return GetWindowLongW(item(id), GWL_STYLE) & BS_TYPEMASK; };
    EXPECT_EQ(buttonType(cmdSkin0), BS_DEFPUSHBUTTON);
    EXPECT_EQ(buttonType(cmdSkin1), BS_PUSHBUTTON);
    for (const ControlId box : {chkCopyPicture, chkTextColor, chkBackColor})
        EXPECT_EQ(buttonType(box), BS_AUTOCHECKBOX) << "control " << box;
}

TEST_F(MainWindowLayout, EveryControlWithTextUsesTahoma9PointCyrillic)
{
    for (const ControlSpec& row : kMainControls) {
        if (row.kind == ControlKind::Swatch)
            continue; // a plain colour; it draws no text
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(item(row.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW look = {};
        ASSERT_NE(GetObjectW(font, sizeof look, &look), 0);
        EXPECT_STREQ(look.lfFaceName, L"Tahoma");
        EXPECT_EQ(look.lfCharSet, 204);
        EXPECT_EQ(look.lfHeight, -MulDiv(9, screenDpi(), 72));
    }
}

TEST_F(MainWindowLayout, TabVisitsTheControlsInTableOrderSkippingLabelsAndSwatches)
{
    std::vector<int> expected;
    for (const ControlSpec& row : kMainControls)
        if (takesFocus(row.kind))
            expected.push_back(row.id);
    expected.erase(expected.begin());
    expected.push_back(txtWorkFolder); // and round again

    std::vector<int> visited;
    HWND current = item(txtWorkFolder);
    for (std::size_t step = 0; step < expected.size(); ++step) {
        current = GetNextDlgTabItem(window(), current, FALSE);
        visited.push_back(GetDlgCtrlID(current));
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowLayout, FolderBoxIsReadOnlyAndStartsFocusedWithItsTextSelected)
{
    EXPECT_NE(GetWindowLongW(item(txtWorkFolder), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(GetWindowLongW(item(txtPicture), GWL_STYLE) & ES_READONLY, 0);

    const DWORD folderLength = static_cast<DWORD>(folder.path().size());
    EXPECT_EQ(GetFocus(), item(txtWorkFolder));
    EXPECT_EQ(selectionOf(item(txtWorkFolder)).start, 0u);
    EXPECT_EQ(selectionOf(item(txtWorkFolder)).end, folderLength);
}

TEST_F(MainWindowLayout, FocusOnTheFolderOrPictureBoxSelectsItsWholeText)
{
    const std::wstring picture = L"C:\\Картинки\\море.jpg";
    SetWindowTextW(item(txtPicture), picture.c_str());
    SendMessageW(item(txtPicture), EM_SETSEL, 3, 3);
    SetFocus(item(txtPicture));
    pump();
    EXPECT_EQ(selectionOf(item(txtPicture)).start, 0u);
    EXPECT_EQ(selectionOf(item(txtPicture)).end, static_cast<DWORD>(picture.size()));

    SendMessageW(item(txtWorkFolder), EM_SETSEL, 2, 2);
    SetFocus(item(txtWorkFolder));
    pump();
    EXPECT_EQ(selectionOf(item(txtWorkFolder)).start, 0u);
    EXPECT_EQ(selectionOf(item(txtWorkFolder)).end, static_cast<DWORD>(folder.path().size()));
}

TEST_F(MainWindowLayout, TypingChangesThePictureBoxButNotTheFolderBox)
{
    const HWND folderBox = item(txtWorkFolder);
    SendMessageW(folderBox, EM_SETSEL, 0, -1);
    for (const wchar_t character : {L'x', L'\b', L'ж'})
        SendMessageW(folderBox, WM_CHAR, character, 1);
    EXPECT_EQ(text(txtWorkFolder), folder.path());
    EXPECT_EQ(form_->state().folder, folder.path());

    const HWND pictureBox = item(txtPicture);
    SetWindowTextW(pictureBox, L"море");
    SendMessageW(pictureBox, EM_SETSEL, 4, 4);
    for (const wchar_t character : {L'.', L'j', L'p', L'g'})
        SendMessageW(pictureBox, WM_CHAR, character, 1);
    EXPECT_EQ(text(txtPicture), L"море.jpg");
    EXPECT_EQ(form_->state().picture, L"море.jpg");
}

} // namespace
