// The main window in the test process, on real files, with stand-in dialogs.
#include "app/Controls.h"
#include "app/frmFolderInfo.h"
#include "app/frmFolders.h"
#include "app/frmJournal.h"
#include "app/frmMain.h"
#include "app/frmPreview.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "folderview/Win32FolderFiles.h"
#include "resources/FoldersLayout.h"
#include "resources/JournalLayout.h"
#include "resources/Messages.h"
#include "support/Handles.h"
#include "support/tsFile.h"
#include "undo/JournalFrames.h"
#include "undo/Win32JournalStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// The system menu's items, by their place in the window's table.
constexpr UINT mnuPreview = systemMenuId(0), mnuFolderInfo = systemMenuId(1), mnuFolderCommand = systemMenuId(2),
               mnuUndo = systemMenuId(3), mnuFolders = systemMenuId(4), mnuJournal = systemMenuId(5);

// A settings file whose view section holds viewLines (e.g. L"IconArea_Text=0x000000FF\r\n").
void writeLook(const TempFolder& folder, const std::wstring& viewLines)
{
    writeFile(folder.desktopIni(),
              ansiBytes(L"[ExtShellFolderViews]\r\n" + kView + L"=" + kView + L"\r\n[" + kView
                        + L"]\r\nAttributes=1\r\n" + viewLines + L"[.ShellClassInfo]\r\nConfirmFileOp=0\r\n"));
}

template <typename Dialog, typename Answer> struct StandInDialog;

// What one kind of picker answers (none: the user cancels), and what the window set in it each time.
template <typename Dialog, typename Answer> struct PickerScript {
    Answer Dialog::*result;
    std::optional<Answer> answer = {};
    std::vector<Dialog> shown = {};

    std::unique_ptr<Dialog> make() { return std::make_unique<StandInDialog<Dialog, Answer>>(*this); }
};

template <typename Dialog, typename Answer> struct StandInDialog : Dialog {
    explicit StandInDialog(PickerScript<Dialog, Answer>& script) : script_(script) {}
    bool show() override
    {
        script_.shown.push_back(*this);
        // A cancelled dialog may still leave its field changed; the window must ignore it.
        this->*script_.result = script_.answer.value_or(Answer {});
        return script_.answer.has_value();
    }
    PickerScript<Dialog, Answer>& script_;
};

class StandInComponents : public Components, public ErrorReporter, public AboutBox {
public:
    PickerScript<PictureFileDialog, std::wstring> picture {&PictureFileDialog::fileName};
    PickerScript<FolderDialog, std::wstring> folder {&FolderDialog::folder};
    PickerScript<ColorDialog, std::int32_t> color {&ColorDialog::color};
    PickerScript<IconDialog, IconChoice> icon {&IconDialog::icon};
    std::vector<std::wstring> changedFolders; // as told to the shell
    std::vector<std::tuple<std::uint32_t, UINT, std::wstring, HCURSOR>> reports; // with the pointer shown
    std::vector<HWND> aboutOwners;

    std::unique_ptr<PictureFileDialog> newPictureFileDialog() override { return picture.make(); }
    std::unique_ptr<FolderDialog> newFolderDialog() override { return folder.make(); }
    std::unique_ptr<ColorDialog> newColorDialog() override { return color.make(); }
    std::unique_ptr<IconDialog> newIconDialog() override { return icon.make(); }
    void folderChanged(const std::wstring& changed, const std::wstring&) override { changedFolders.push_back(changed); }
    void associationsChanged() override { ++associationChanges; }
    int associationChanges = 0;
    // A real box, which the test's hook reads and closes.
    void tell(HWND owner, const std::wstring& text, UINT style) override { boxes_.tell(owner, text, style); }
    bool askYes(HWND, const std::wstring& question) override
    {
        questions.push_back(question);
        if (whenAsked)
            whenAsked();
        return answerYes;
    }
    std::vector<std::wstring> questions;
    bool answerYes = false;
    std::function<void()> whenAsked;
    ErrorReporter& errorReporter() override { return *this; }
    void report(const ErrorInfo& error, UINT style, HWND, const std::wstring& message, std::int16_t& response) override
    {
        reports.emplace_back(error.number, style, message, GetCursor());
        response = IDOK;
    }
    AboutBox& aboutBox() override { return *this; }
    void show(HWND owner, const AppInfo&, const std::wstring&, const wchar_t*, const std::wstring&) override
    {
        aboutOwners.push_back(owner);
    }

private:
    SystemComponents boxes_ {{L"", L"", kMainCaption}};
};

// The journal's store, whose writes wait while the gate is shut: a command over several
// folders then stays in hand.
struct GatedStore : Win32JournalStore {
    using Win32JournalStore::Win32JournalStore;
    ~GatedStore() { CloseHandle(gate); }
    bool proceed() override { return WaitForSingleObject(gate, INFINITE) == WAIT_OBJECT_0; }
    HANDLE gate = CreateEventW(nullptr, TRUE, TRUE, nullptr);
};

// The main window in this process on a fresh folder, with stand-in components. Message
// boxes are recorded and closed at once, so that none can hang a test.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        boxCloser_ = SetWindowsHookExW(WH_CBT, closeBoxes, nullptr, GetCurrentThreadId());
        ASSERT_NE(boxCloser_, nullptr);
    }
    void TearDown() override
    {
        SetEvent(store.gate);
        form_.reset();
        pump();
        UnhookWindowsHookEx(boxCloser_);
        EXPECT_TRUE(boxTexts.empty()) << "unexpected message box: " << utf8(boxTexts.front());
        boxTexts.clear();
    }

    void open() { open(folder.path()); }
    void open(const std::wstring& arguments)
    {
        form_ = std::make_unique<frmMain>(components, files, store);
        ASSERT_TRUE(form_->show(arguments));
        pump();
    }
    HWND window() const { return form_->handle(); }
    HWND item(ControlId id) const { return GetDlgItem(window(), id); }
    std::wstring text(ControlId id) const
    {
        wchar_t value[1024] = {};
        return {value, static_cast<std::size_t>(GetWindowTextW(item(id), value, 1024))};
    }
    void click(ControlId id)
    {
        SendMessageW(item(id), BM_CLICK, 0, 0);
        pump();
    }
    void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    auto look() const
    {
        const FolderLookState s = form_->state();
        return std::tuple(s.folder, s.picture, s.copyPicture, s.textColorOn, s.textColor, s.backColorOn, s.backColor);
    }

    TempFolder folder {L" Мои фото"};
    StandInComponents components;
    Win32FolderFiles files;
    TempFolder records {L" записи"};
    GatedStore store {records.path()};
    std::unique_ptr<frmMain> form_;
    static inline std::vector<std::wstring> boxTexts; // the tests that expect a box take it out

private:
    static LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto activated = reinterpret_cast<HWND>(wParam);
        wchar_t name[8] = {};
        if (code == HCBT_ACTIVATE && GetClassNameW(activated, name, 8) && lstrcmpW(name, L"#32770") == 0) {
            wchar_t text[512] = {};
            GetDlgItemTextW(activated, 0xFFFF, text, 512);
            boxTexts.push_back(text);
            PostMessageW(activated, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK boxCloser_ = nullptr;
};

int scaled(int pixels)
{
    return MulDiv(pixels, GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSX), 96);
}

// A few rows by their own numbers, at the screen's resolution (the suite runs at 96
// and at 120 DPI), and the tab order.
TEST_F(MainWindowTest, SizesPositionsAndTabOrderScaleWithTheScreen)
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

    std::vector<int> tabOrder;
    for (HWND stop = item(txtWorkFolder); tabOrder.size() < 12; stop = GetNextDlgTabItem(window(), stop, FALSE))
        tabOrder.push_back(GetDlgCtrlID(stop));
    EXPECT_EQ(
        tabOrder,
        (std::vector<int> {txtWorkFolder, cmdBrowseFolder, txtPicture, cmdBrowse, chkCopyPicture, chkTextColor,
                           cmdBrowseTextColor, chkBackColor, cmdBrowseBackColor, cmdSkin0, cmdSkin1, txtWorkFolder}));
}

// Every control of the window that draws text draws it in Tahoma 9 pt, and every
// caption fits the room its control leaves for text, so none is clipped or wrapped (a
// text box's text scrolls instead).
void expectTahomaCaptionsThatFit(HWND window)
{
    const WindowDC dc(nullptr);
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
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
        // The dialog's areas break their words into lines, each of which must fit.
        if (lstrcmpiW(kind, L"Button") == 0 && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
            RECT lines = {0, 0, area.right - 2 * GetSystemMetrics(SM_CXEDGE), 0};
            DrawTextW(dc.get(), caption, length, &lines, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            extent = {lines.right, 0};
            EXPECT_LE(lines.bottom, area.bottom - 2 * GetSystemMetrics(SM_CYEDGE));
        }
        // A check box draws its text past the box and a gap; a button inside its edges.
        if (lstrcmpiW(kind, L"Button") == 0)
            area.right -= (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX
                ? GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2
                : 2 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_TRUE(lstrcmpiW(kind, L"Edit") == 0 || extent.cx <= area.right) << extent.cx << " > " << area.right;
    }
}

TEST_F(MainWindowTest, CaptionsAreTahomaAndFitTheirControls)
{
    open();
    expectTahomaCaptionsThatFit(window());
}

// The window starts in the folder box, all of its text selected.
TEST_F(MainWindowTest, FocusOnTheFolderOrPictureBoxSelectsItsWholeText)
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

// The window on a folder whose file sets a picture and a text colour but no background.
struct MainWindowPickers : MainWindowTest {
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeLook(folder, L"IconArea_Image=D:\\Обои\\море.jpg\r\nIconArea_Text=0x000000FF\r\n");
        open();
    }
};

TEST_F(MainWindowPickers, PicturePickerStartsFromThePictureTextAndOnlyOkChangesIt)
{
    auto expected = look();
    click(cmdBrowse);
    ASSERT_EQ(components.picture.shown.size(), 1u);
    const PictureFileDialog& shown = components.picture.shown[0];
    EXPECT_EQ(std::tuple(shown.fileName, shown.filter, shown.options, shown.initialFolder, shown.owner),
              std::tuple(L"D:\\Обои\\море.jpg", kPictureFilter, 0, L"D:\\Обои", window()));
    EXPECT_EQ(look(), expected);

    components.picture.answer = std::get<1>(expected) = L"E:\\Новые\\лес.png";
    click(cmdBrowse);
    EXPECT_EQ(look(), expected);
}

// A folder without settings keeps the picture text and resets both colours.
TEST_F(MainWindowPickers, FolderPickerReloadsOnlyOnOkAndKeepsTheCopyFlag)
{
    click(chkCopyPicture);
    writeLook(folder, L"IconArea_TextBackground=0x00336699\r\n"); // only a reload would show it
    const auto before = look();
    click(cmdBrowseFolder);
    ASSERT_EQ(components.folder.shown.size(), 1u);
    const FolderDialog& shown = components.folder.shown[0];
    EXPECT_EQ(std::tuple(shown.owner, shown.folder, shown.prompt), std::tuple(window(), folder.path(), kFolderPrompt));
    EXPECT_EQ(look(), before);

    // A folder whose settings cannot be read is not shown with these settings.
    TempFolder other;
    makeFolder(other.desktopIni());
    components.folder.answer = other.path();
    click(cmdBrowseFolder);
    EXPECT_EQ(std::exchange(boxTexts, {}),
              std::vector<std::wstring> {aboutPath(other.path(), kLoadFailed.c_str(),
                                                   errorText(errorInfo(ERROR_ACCESS_DENIED), kErrorNumber.c_str())
                                                       + L" " + kFolderKept.c_str())});
    EXPECT_EQ(look(), before);

    RemoveDirectoryW(other.desktopIni().c_str());
    click(cmdBrowseFolder);
    EXPECT_EQ(look(), std::tuple(other.path(), std::get<1>(before), kTicked, kUnticked, kBlack, kUnticked, kWhite));
}

TEST_F(MainWindowPickers, ColourPickerStartsFromItsSwatchAndOkChangesOnlyTheSwatch)
{
    auto expected = look();
    click(cmdBrowseTextColor);
    click(cmdBrowseBackColor);
    EXPECT_EQ(look(), expected);

    components.color.answer = 0x123456;
    click(cmdBrowseTextColor);
    click(cmdBrowseBackColor);
    std::get<4>(expected) = std::get<6>(expected) = 0x123456;
    EXPECT_EQ(look(), expected) << "the check boxes stay as they were";

    ASSERT_EQ(components.color.shown.size(), 4u);
    const auto& shown = components.color.shown;
    EXPECT_EQ(std::tuple(shown[0].color, shown[1].color, shown[3].owner), std::tuple(0x0000FF, 0xFFFFFF, window()));
}

// A failed copy goes to the error reporter while the hourglass shows; every other
// failure is told in a box. The window stays as it was, the arrow comes back.
TEST_F(MainWindowTest, FailuresAreShownAndTheWindowStays)
{
    open();
    SetWindowTextW(item(txtPicture), folder.at(L"нет.bmp").c_str());
    click(chkCopyPicture);
    click(cmdSkin0);
    EXPECT_EQ(
        components.reports,
        (std::vector {std::tuple(std::uint32_t {ERROR_FILE_NOT_FOUND}, UINT {MB_ICONSTOP},
                                 aboutPath(kCopyFailed.c_str(), kSourceUnreadable.c_str() + folder.at(L"нет.bmp")),
                                 LoadCursorW(nullptr, IDC_WAIT))}));
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

    click(chkCopyPicture);
    const std::wstring missing = folder.at(L"нет такого каталога");
    SetWindowTextW(item(txtWorkFolder), missing.c_str());
    const auto before = look();
    click(cmdSkin0);
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector {aboutPath(missing + L"\\Desktop.INI", kSaveFailed.c_str())});
    ASSERT_TRUE(form_->isLoaded());
    EXPECT_EQ(look(), before);
    EXPECT_TRUE(components.changedFolders.empty());
}

// Remove takes the settings away and copies nothing, even with copying ticked.
TEST_F(MainWindowTest, RemoveSkipsTheCopyAndClosesAfterDone)
{
    writeLook(folder, L"IconArea_Image=старое.jpg\r\nIconArea_Text=0x000000FF\r\n");
    const TempFolder pictures;
    writeFile(pictures.at(L"лес.bmp"), "BM");
    open();
    SetWindowTextW(item(txtPicture), pictures.at(L"лес.bmp").c_str());
    click(chkCopyPicture);

    click(cmdSkin1);
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(components.changedFolders, std::vector {folder.path()});
    EXPECT_EQ(iniValue(folder.desktopIni(), L"ExtShellFolderViews", kView), std::nullopt);
    EXPECT_EQ(GetFileAttributesW(folder.at(L"лес.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The window sees each key before the focused control: Shift+F1 alone opens the about
// box, Esc alone unloads the window (and, last, leaves no key held).
TEST_F(MainWindowTest, OnlyShiftF1OpensTheAboutBoxAndOnlyEscCloses)
{
    open();
    const auto press = [this](WORD key, std::initializer_list<int> held) {
        BYTE keys[256] = {};
        for (const int modifier : held)
            keys[modifier] = 0x80;
        SetKeyboardState(keys);
        MSG message = {item(txtWorkFolder), WM_KEYDOWN, key, 1, 0, {}};
        form_->preTranslateMessage(message);
    };
    press(VK_F1, {});
    press(VK_F1, {VK_CONTROL, VK_SHIFT});
    press(VK_ESCAPE, {VK_SHIFT});
    EXPECT_TRUE(components.aboutOwners.empty());
    press(VK_F1, {VK_SHIFT});
    EXPECT_EQ(components.aboutOwners, std::vector<HWND> {window()});
    press(VK_ESCAPE, {});
    EXPECT_FALSE(form_->isLoaded());
}

// Ctrl+Z and the system menu's item undo the folder's latest command. The item names
// it and is greyed without a record; a file changed since is asked about first, and No
// changes nothing.
TEST_F(MainWindowTest, CtrlZUndoesTheLatestCommand)
{
    const auto press = [this] {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        MSG message = {item(txtPicture), WM_KEYDOWN, 'Z', 1, 0, {}};
        form_->preTranslateMessage(message);
        BYTE none[256] = {};
        SetKeyboardState(none);
    };
    const auto undoItem = [this] {
        const HMENU menu = GetSystemMenu(window(), FALSE);
        SendMessageW(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        wchar_t text[128] = {};
        GetMenuStringW(menu, mnuUndo, text, 128, MF_BYCOMMAND);
        return std::tuple(std::wstring(text), (GetMenuState(menu, mnuUndo, MF_BYCOMMAND) & MF_GRAYED) != 0);
    };
    open();
    EXPECT_EQ(undoItem(), std::tuple(std::wstring(L"Вернуть как было\tCtrl+Z"), true));
    press();
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kUndoNothing.c_str()});
    click(cmdSkin0);
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});

    open();
    const auto [caption, greyed] = undoItem();
    EXPECT_TRUE(caption.starts_with(L"Вернуть как было (Установить!, ") && caption.ends_with(L")\tCtrl+Z"))
        << utf8(caption);
    EXPECT_FALSE(greyed);
    const std::string edited = readFile(folder.desktopIni()) + "; правка\r\n";
    SetFileAttributesW(folder.desktopIni().c_str(), FILE_ATTRIBUTE_NORMAL);
    writeFile(folder.desktopIni(), edited);
    press();
    EXPECT_EQ(components.questions, std::vector {folder.desktopIni() + L"\r\n\r\n" + kUndoChanged});
    EXPECT_EQ(readFile(folder.desktopIni()), edited);
    components.answerYes = true;
    press();
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(GetFileAttributesW(folder.desktopIni().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(components.changedFolders, std::vector(2, folder.path()));
}

// F6 lists the commands, newest first, with whether each can be undone; "Вернуть как
// было" takes back the one chosen.
TEST_F(MainWindowTest, JournalListsTheCommandsAndUndoesTheOneChosen)
{
    open();
    click(cmdSkin0);
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    open();
    static std::vector<std::wstring> row;
    static BOOL undoEnabled = FALSE;
    struct Journal {
        // Inside the journal's own loop, once it shows: its first row, then its button.
        static void CALLBACK read(HWND, UINT, UINT_PTR id, DWORD)
        {
            const HWND journal = FindWindowW(frmJournal::kClassName, nullptr);
            if (!journal || !IsWindowVisible(journal))
                return;
            KillTimer(nullptr, id);
            for (int column = 0; column < 4; ++column) {
                wchar_t text[256] = {};
                ListView_GetItemText(GetDlgItem(journal, lstJournal), 0, column, text, 256);
                row.push_back(text);
            }
            undoEnabled = IsWindowEnabled(GetDlgItem(journal, cmdUndoEntry));
            SendDlgItemMessageW(journal, cmdUndoEntry, BM_CLICK, 0, 0);
        }
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, Journal::read);
    SendMessageW(window(), WM_SYSCOMMAND, mnuJournal, 0);
    KillTimer(nullptr, timer);
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(std::vector(row.begin() + 1, row.end()),
              (std::vector<std::wstring> {L"Установить!", tsCanonicalFolder(folder.path()), kEntryUndoable.c_str()}));
    EXPECT_TRUE(undoEnabled);
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(GetFileAttributesW(folder.desktopIni().c_str()), INVALID_FILE_ATTRIBUTES);
}

// A command a start finds unfinished (its program ended in its middle) is named once,
// in one question; "Да" puts its folder back, and the entry is finished, never asked again.
TEST_F(MainWindowTest, UnfinishedCommandIsAskedAboutOnceAndPutBack)
{
    writeLook(folder, L"IconArea_Text=0x000000FF\r\n");
    const std::wstring canonical = tsCanonicalFolder(folder.path());
    const RecordedPath before {.path = canonical + L"\\Desktop.INI", .existed = false};
    const std::wstring entry = records.at(L"01d0000000000000.run");
    writeFile(entry,
              frameOf(FrameType::Header,
                      encodeHeader(
                          {EntryKind::Command, L"", {L"Установить!", L"Quenmark", {2026, 12, 8, 10, 40}}, {canonical}}))
                  + frameOf(FrameType::Before, encodeBefore({0, {before}})) + "QMJ");
    components.answerYes = true;
    open();
    EXPECT_EQ(components.questions, std::vector {unfinishedQuestion(L"Установить!", L"8 декабря, 10:40", L"1 папка")});
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(GetFileAttributesW(folder.desktopIni().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(records.at(L"01d0000000000000.qmj").c_str()), INVALID_FILE_ATTRIBUTES);
    components.questions.clear();
    open();
    EXPECT_TRUE(components.questions.empty());
}

// A drop as Explorer makes it: the paths, each ending in a NUL, then one more NUL.
void drop(HWND window, const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    *files = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// One folder is chosen as with the folder picker, one file becomes the picture, several
// folders are taken together and show the first one's settings; anything else is
// ignored, and a path the code page cannot hold is refused.
TEST_F(MainWindowTest, DroppedFolderOrFileIsChosen)
{
    const TempFolder other(L" Другой"), foreign(L" 日本");
    writeLook(other, L"IconArea_Text=0x00102030\r\n");
    writeFile(other.at(L"лес.bmp"), "BM");
    open();
    EXPECT_TRUE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    auto expected = look();
    for (const auto& ignored : {std::vector {other.path(), other.at(L"лес.bmp")}, std::vector {other.at(L"нет")}}) {
        drop(window(), ignored);
        EXPECT_EQ(look(), expected);
    }
    drop(window(), {foreign.path()});
    EXPECT_EQ(std::exchange(boxTexts, {}),
              std::vector<std::wstring> {aboutPath(foreign.path(), kNotAccepted.c_str(), kUnrepresentable.c_str())});
    EXPECT_EQ(look(), expected);

    drop(window(), {other.at(L"лес.bmp")});
    std::get<1>(expected) = other.at(L"лес.bmp");
    EXPECT_EQ(look(), expected);
    drop(window(), {other.path(), folder.path()});
    EXPECT_EQ(std::get<4>(look()), 0x102030);
    drop(window(), {other.path()});
    EXPECT_EQ(look(), std::tuple(other.path(), std::wstring(), kUnticked, kTicked, 0x102030, kUnticked, kWhite));
}

// Folders that arrive together open the list beside the window; the folder box says how
// many and the window shows the first one's settings. Apply runs over all of them off
// the window thread, tells the shell once per folder, and all done, the program ends.
TEST_F(MainWindowTest, SeveralFoldersAreListedAndApplyActsOnEach)
{
    const TempFolder second(L" Второй"), third(L" Третий");
    writeLook(folder, L"IconArea_Text=0x00102030\r\n");
    open(second.path());
    form_->addFolders({folder.path(), second.path(), third.path()});
    pump();
    const HWND list = FindWindowW(frmFolders::kClassName, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetWindow(list, GW_OWNER), window());
    expectTahomaCaptionsThatFit(list);
    EXPECT_EQ(SendDlgItemMessageW(list, lstFolders, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(text(txtWorkFolder), L"3 папки: " + folder.path() + L"; " + second.path() + L"; " + third.path());
    EXPECT_EQ(std::get<0>(look()), folder.path());
    EXPECT_EQ(std::get<4>(look()), 0x102030);

    // The batch's messages to the list are lost, as a full queue loses them: the list
    // finds the end on its timer.
    SendMessageW(item(cmdSkin0), BM_CLICK, 0, 0);
    for (int wait = 0; wait < 500 && IsWindow(list); ++wait) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd != list || message.message < WM_APP)
                DispatchMessageW(&message);
        }
    }
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_EQ(components.changedFolders, (std::vector {folder.path(), second.path(), third.path()}));
    EXPECT_EQ(iniValue(third.desktopIni(), kView, L"IconArea_Text"), L"0x00102030");
}

// Opens the gate a moment later, on a thread of its own (stdcall, which a lambda is not
// in a 32-bit build).
DWORD WINAPI openSoon(void* gate)
{
    Sleep(200);
    SetEvent(gate);
    return 0;
}

// While a command over several folders runs, a command that cannot start says so and
// opens nothing: F4's dialog, Remove, the list's Delete. Esc asks first: No lets the command run on; Yes
// stops it before its next folder, shows how far it came, finishes its journal entry
// and closes the window.
TEST_F(MainWindowTest, WhileACommandRunsOthersSaySoAndEscAsksFirst)
{
    const TempFolder second(L" Второй"), third(L" Третий");
    open();
    form_->addFolders({folder.path(), second.path(), third.path()});
    pump();
    const HWND list = FindWindowW(frmFolders::kClassName, nullptr);
    ResetEvent(store.gate);
    click(cmdSkin0);
    const auto press = [this](WORD key, HWND to) {
        const BYTE none[256] = {};
        SetKeyboardState(const_cast<BYTE*>(none));
        MSG message = {to, WM_KEYDOWN, key, 1, 0, {}};
        form_->preTranslateMessage(message);
    };
    press(VK_F4, item(txtWorkFolder));
    EXPECT_EQ(FindWindowW(frmFolderInfo::kClassName, nullptr), nullptr);
    click(cmdSkin1);
    SetFocus(GetDlgItem(list, lstFolders));
    ListView_SetItemState(GetDlgItem(list, lstFolders), 0, LVIS_SELECTED, LVIS_SELECTED);
    press(VK_DELETE, GetDlgItem(list, lstFolders));
    EXPECT_EQ(SendDlgItemMessageW(list, lstFolders, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring>(3, kBusy.c_str()));

    press(VK_ESCAPE, item(txtWorkFolder));
    EXPECT_EQ(components.questions, std::vector<std::wstring> {kStopBatchQuestion.c_str()});
    EXPECT_TRUE(form_->isLoaded());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(list, cmdCancelBatch)));
    // The gate opens once the stop has been asked for.
    components.whenAsked = [this] { CloseHandle(CreateThread(nullptr, 0, openSoon, store.gate, 0, nullptr)); };
    components.answerYes = true;
    press(VK_ESCAPE, item(txtWorkFolder));
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector {batchAccount(1, 3, 0) + L" " + kBatchStopped});
    std::vector<std::wstring> entries;
    for (const auto& entry : std::filesystem::directory_iterator(records.path()))
        entries.push_back(entry.path().extension().wstring());
    EXPECT_EQ(entries, std::vector<std::wstring> {L".qmj"});
}

// "Добавить вложенные папки" walks the tree off the window thread, which says so
// meanwhile; the folder and each one below it join the list when the walk ends, unless
// it was cancelled.
TEST_F(MainWindowTest, SubfoldersJoinTheListWhenTheirSearchEnds)
{
    const TempFolder second(L" Второй"), tree(L" Архив");
    makeFolder(tree.at(L"2004"));
    makeFolder(tree.at(L"2004\\лето"));
    open();
    form_->addFolders({folder.path(), second.path()});
    pump();
    const HWND list = FindWindowW(frmFolders::kClassName, nullptr);
    ASSERT_NE(list, nullptr);
    components.folder.answer = tree.path();
    SendMessageW(GetDlgItem(list, cmdAddSubfolders), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(list, cmdCancelBatch), BM_CLICK, 0, 0);
    for (int wait = 0; wait < 50 && !IsWindowEnabled(GetDlgItem(list, cmdAddSubfolders)); ++wait) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pump();
    }
    EXPECT_EQ(SendDlgItemMessageW(list, lstFolders, LVM_GETITEMCOUNT, 0, 0), 2);

    SendMessageW(GetDlgItem(list, cmdAddSubfolders), BM_CLICK, 0, 0);
    wchar_t searching[512] = {};
    GetDlgItemTextW(list, lblBatch, searching, 512);
    EXPECT_EQ(searching, kSubfoldersSearching + tree.path());
    std::vector<std::wstring> listed;
    for (int wait = 0; wait < 500 && listed.size() < 5; ++wait) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pump();
        listed.clear();
        for (int i = 0; i < SendDlgItemMessageW(list, lstFolders, LVM_GETITEMCOUNT, 0, 0); ++i) {
            wchar_t folderText[512] = {};
            LVITEMW row = {};
            row.pszText = folderText;
            row.cchTextMax = 512;
            SendDlgItemMessageW(list, lstFolders, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&row));
            listed.emplace_back(folderText);
        }
    }
    EXPECT_EQ(listed,
              (std::vector {folder.path(), second.path(), tree.path(), tree.at(L"2004"), tree.at(L"2004\\лето")}));
    GetDlgItemTextW(list, lblBatch, searching, 512);
    EXPECT_STREQ(searching, L"");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(list, cmdAddSubfolders)));
}

// Without a command line the window takes the current directory, however long; its
// settings file is then beyond the reach of the ANSI file functions.
TEST_F(MainWindowTest, CurrentDirectoryIsTakenWhole)
{
    const std::wstring deep = folder.at(std::wstring(120, L'x') + L"\\" + std::wstring(150, L'y'));
    makeFolder(folder.at(std::wstring(120, L'x')));
    makeFolder(deep);
    const CurrentDirectory current(deep);
    open(L"  ");
    EXPECT_EQ(text(txtWorkFolder), deep);
    EXPECT_EQ(std::exchange(boxTexts, {}),
              std::vector<std::wstring> {aboutPath(deep, kLoadFailed.c_str(), kPathTooLong.c_str())});
}

// The folders' command in the system menu: checked while the registry holds this exe's,
// as read each time the menu opens; choosing it adds or removes it and tells the shell.
// Another tool's key is replaced only after a yes to a question, and a no changes
// nothing (it is asked again). A key that refuses is named in a message, and nothing of
// the command is left.
TEST_F(MainWindowTest, SystemMenuSwitchesTheFolderCommand)
{
    const RegistryCleanup cleanup;
    writeRegistryText(kFolderCommandKey + L"\\command", nullptr, L"other.exe \"%1\"");
    open();
    const HMENU menu = GetSystemMenu(window(), FALSE);
    std::vector<bool> checked;
    for (const bool yes : {false, true, false, false, false}) {
        SendMessageW(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        checked.push_back(GetMenuState(menu, mnuFolderCommand, MF_BYCOMMAND) & MF_CHECKED);
        components.answerYes = yes;
        SendMessageW(window(), WM_SYSCOMMAND, mnuFolderCommand, 0);
    }
    EXPECT_EQ(checked, (std::vector<bool> {false, false, true, false, true}));
    EXPECT_EQ(components.questions, (std::vector<std::wstring>(2, kFolderCommandForeign.c_str())));

    lockRegistryKey(kBackgroundCommandKey);
    SendMessageW(window(), WM_SYSCOMMAND, mnuFolderCommand, 0);
    EXPECT_EQ(std::exchange(boxTexts, {}),
              std::vector {aboutPath(L"HKEY_CURRENT_USER\\" + kBackgroundCommandKey, kFolderCommandNotAdded.c_str(),
                                     errorText(errorInfo(ERROR_ACCESS_DENIED), kErrorNumber.c_str()))});
    EXPECT_FALSE(registryKeyExists(kFolderCommandKey)); // written before the refusal, and deleted again
    EXPECT_EQ(components.associationChanges, 5);
}

// The icon and comment dialog, opened from the main window on a folder whose file holds
// an icon, a comment and other settings. While the dialog shows, a timer runs a test's
// script inside the dialog's own message loop.
struct FolderInfoDialogTest : MainWindowTest {
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeFile(folder.desktopIni(),
                  ansiBytes(L"[.ShellClassInfo]\r\nIconFile=C:\\Иконки\\папка.ico\r\nIconIndex=2\r\nInfoTip=Море\r\n"
                            L"ConfirmFileOp=0\r\n[ViewState]\r\nMode=4\r\nFolderType=MyMusic\r\nLogo=лес.bmp\r\n["
                            + kView + L"]\r\nIconArea_Image=лес.bmp\r\n"));
        writeFile(folder.at(L"лес.bmp"), bmpBytes(8, 8, RGB(0, 128, 0), RGB(0, 128, 0)));
        open();
    }

    // Opens the dialog with F4 (or the system menu item), runs the script on it once it
    // shows, then presses Esc in it, which is lost if the script has closed it already.
    void withDialog(const std::function<void(HWND)>& script, bool fromMenu = false)
    {
        running = script;
        ran = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, runScript);
        if (fromMenu) {
            SendMessageW(window(), WM_SYSCOMMAND, mnuFolderInfo, 0);
        } else {
            const BYTE noKeys[256] = {};
            SetKeyboardState(const_cast<BYTE*>(noKeys));
            MSG message = {item(txtWorkFolder), WM_KEYDOWN, VK_F4, 1, 0, {}};
            form_->preTranslateMessage(message);
        }
        KillTimer(nullptr, timer);
        EXPECT_EQ(std::tuple(ran, IsWindowEnabled(window())), std::tuple(true, TRUE)) << "shown, then closed";
    }
    static void press(WORD key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 1); }
    // Whether the icon's (or the picture's) area shows anything but its background
    // inside its frame.
    static bool drawsIcon(HWND dialog, int id = picIcon)
    {
        const HWND area = GetDlgItem(dialog, id);
        RECT bounds;
        GetClientRect(area, &bounds);
        const WindowDC screen(nullptr);
        const UniqueHandle<GdiObjectTraits<HBITMAP>> picture(
            CreateCompatibleBitmap(screen.get(), bounds.right, bounds.bottom));
        const HDC dc = CreateCompatibleDC(screen.get());
        const HGDIOBJ old = SelectObject(dc, picture.get());
        SendMessageW(area, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        bool drawn = false;
        for (int y = 4; y < bounds.bottom - 4; ++y)
            for (int x = 4; x < bounds.right - 4; ++x)
                drawn = drawn || GetPixel(dc, x, y) != GetSysColor(COLOR_BTNFACE);
        SelectObject(dc, old);
        DeleteDC(dc);
        return drawn;
    }

    static inline std::function<void(HWND)> running;
    static inline bool ran = false;

private:
    static void CALLBACK runScript(HWND, UINT, UINT_PTR timer, DWORD)
    {
        const HWND dialog = FindWindowW(frmFolderInfo::kClassName, nullptr);
        if (!dialog || !IsWindowVisible(dialog))
            return;
        KillTimer(nullptr, timer);
        ran = true;
        running(dialog);
        if (IsWindow(dialog))
            press(VK_ESCAPE);
    }
};

// F4 and the system menu item open the dialog modal to the main window, on what the
// file holds, the list of folders beside it disabled meanwhile; Esc closes it and
// writes nothing.
TEST_F(FolderInfoDialogTest, OpensFromF4AndTheMenuOnTheFileAndEscWritesNothing)
{
    const std::string before = readFile(folder.desktopIni());
    SendMessageW(window(), WM_SYSCOMMAND, mnuFolders, 0);
    const HWND list = FindWindowW(frmFolders::kClassName, nullptr);
    for (const bool fromMenu : {false, true}) {
        withDialog(
            [this, list](HWND dialog) {
                EXPECT_EQ(
                    std::tuple(windowText(GetDlgItem(dialog, txtIcon)), windowText(GetDlgItem(dialog, txtInfoTip)),
                               windowText(GetDlgItem(dialog, lstFolderType)), windowText(GetDlgItem(dialog, txtLogo)),
                               IsWindowEnabled(window()), IsWindowEnabled(list), GetWindow(dialog, GW_OWNER)),
                    std::tuple(L"C:\\Иконки\\папка.ico,2", L"Море", L"MyMusic", L"лес.bmp", FALSE, FALSE, window()));
                // The folder picture is decoded off the dialog's thread, and drawn when it comes.
                MSG message;
                for (int wait = 0; wait < 200 && !drawsIcon(dialog, picLogo); ++wait) {
                    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                        DispatchMessageW(&message);
                    Sleep(10);
                }
                EXPECT_TRUE(drawsIcon(dialog, picLogo));
                expectTahomaCaptionsThatFit(dialog);
                SetDlgItemTextW(dialog, txtInfoTip, L"Горы");
            },
            fromMenu);
    }
    EXPECT_TRUE(IsWindowEnabled(list));
    EXPECT_EQ(readFile(folder.desktopIni()), before);
}

// A failed Apply is told and the dialog stays with the user's text; Enter then applies:
// "Готово!", the shell is told, the dialog closes and the main window stays. The picker
// starts from the icon text and its choice replaces it.
TEST_F(FolderInfoDialogTest, FailureKeepsTheDialogAndEnterAppliesAndClosesAfterDone)
{
    const std::string before = readFile(folder.desktopIni());
    components.icon.answer = IconChoice {L"C:\\Иконки\\горы.ico", 5};
    withDialog([this, &before](HWND dialog) {
        SendDlgItemMessageW(dialog, cmdPickIcon, BM_CLICK, 0, 0);
        SetDlgItemTextW(dialog, txtInfoTip, L"富士山");
        SendDlgItemMessageW(dialog, cmdInfoApply, BM_CLICK, 0, 0);
        EXPECT_EQ(std::exchange(boxTexts, {}), std::vector {aboutKey(L"InfoTip", kKeyRefused.c_str())});
        EXPECT_EQ(std::tuple(IsWindowVisible(dialog), windowText(GetDlgItem(dialog, txtInfoTip))),
                  std::tuple(TRUE, L"富士山"));
        EXPECT_EQ(readFile(folder.desktopIni()), before);
        SetDlgItemTextW(dialog, txtInfoTip, L"Горы");
        SetFocus(GetDlgItem(dialog, txtInfoTip));
        press(VK_RETURN);
    });
    EXPECT_EQ(components.icon.shown.at(0).icon, (IconChoice {L"C:\\Иконки\\папка.ico", 2}));
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_EQ(components.changedFolders, std::vector {folder.path()});
    EXPECT_TRUE(form_->isLoaded());
    const auto value = [this](const wchar_t* key) { return iniValue(folder.desktopIni(), L".ShellClassInfo", key); };
    EXPECT_EQ(std::tuple(value(L"IconResource"), value(L"IconFile"), value(L"IconIndex"), value(L"InfoTip"),
                         value(L"ConfirmFileOp")),
              std::tuple(L"C:\\Иконки\\горы.ico,5", L"C:\\Иконки\\горы.ico", L"5", L"Горы", L"0"));
    // A folder type the list lacks goes back as it was.
    EXPECT_EQ(iniValue(folder.desktopIni(), L"ViewState", L"FolderType"), L"MyMusic");
}

// Ctrl+Z in the dialog undoes its own command, as the main window's does, and closes it.
TEST_F(FolderInfoDialogTest, CtrlZUndoesTheDialogsCommand)
{
    const auto before = std::tuple(readFile(folder.desktopIni()), attributesOf(folder.desktopIni()));
    withDialog([](HWND dialog) { SendDlgItemMessageW(dialog, cmdInfoRemove, BM_CLICK, 0, 0); });
    withDialog([](HWND) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        press('Z');
    });
    BYTE none[256] = {};
    SetKeyboardState(none);
    EXPECT_EQ(std::exchange(boxTexts, {}), (std::vector<std::wstring> {kDone.c_str(), kDone.c_str()}));
    EXPECT_EQ(std::tuple(readFile(folder.desktopIni()), attributesOf(folder.desktopIni())), before);
}

// The dialog's Remove takes what the dialog sets and nothing else: the view's mode and
// the main window's look stay.
TEST_F(FolderInfoDialogTest, RemoveTakesOnlyTheDialogsKeys)
{
    withDialog([](HWND dialog) { SendDlgItemMessageW(dialog, cmdInfoRemove, BM_CLICK, 0, 0); });
    EXPECT_EQ(std::exchange(boxTexts, {}), std::vector<std::wstring> {kDone.c_str()});
    EXPECT_THAT(iniSections(folder.desktopIni()),
                testing::ElementsAre(L"[.ShellClassInfo]", L"ConfirmFileOp=0", L"[ViewState]", L"Mode=4",
                                     L"[" + kView + L"]", L"IconArea_Image=лес.bmp"));
}

// The colours a drawing area of the dialog shows inside its frame, its background aside.
std::set<COLORREF> areaColours(HWND area)
{
    RECT bounds;
    GetClientRect(area, &bounds);
    const WindowDC screen(nullptr);
    const MemoryDC dc(CreateCompatibleDC(screen.get()));
    const BitmapHandle picture(CreateCompatibleBitmap(screen.get(), bounds.right, bounds.bottom));
    const SelectedObject selected(dc.get(), picture.get());
    SendMessageW(area, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    std::set<COLORREF> shown;
    for (int y = 4; y < bounds.bottom - 4; ++y)
        for (int x = 4; x < bounds.right - 4; ++x)
            shown.insert(GetPixel(dc.get(), x, y));
    shown.erase(GetSysColor(COLOR_BTNFACE));
    return shown;
}

// An icon on a server named by the file waits for the user. A crafted icon the file
// names leaves the dialog working and says why it is not drawn, as does every icon that
// cannot be shown, in words that fit; a good .ico and a system library's icon are drawn
// after a pause in typing, their text kept.
TEST_F(FolderInfoDialogTest, IconIsDrawnOrSaysWhyNotAndOneOnAServerWaits)
{
    using namespace std::string_literals;
    const std::string oneImage = "\0\0\1\0\1\0\x20\x20\0\0\1\0\x18\0"s;
    writeFile(folder.at(L"a.ico"), (oneImage + "\x40\x42\x0F\0\x16\0\0\0"s).append(178, 'x'));
    writeFile(folder.at(L"huge.ico"),
              oneImage + "\x21\0\0\0\x16\0\0\0\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x2E\xE0\0\0\x2E\xE0"s
                  + std::string(581000, '\0'));
    std::string red = bmpBytes(32, 32, RGB(255, 0, 0), RGB(255, 0, 0)).substr(sizeof(BITMAPFILEHEADER));
    red[8] = 64; // the height counts the mask below the colours too
    writeFile(folder.at(L"red.ico"), oneImage + "\xA8\x0C\0\0\x16\0\0\0"s + red + std::string(32 * 4, '\0'));
    writeFile(folder.desktopIni(), ansiBytes(L"[.ShellClassInfo]\r\nIconResource=a.ico,0\r\n"));
    withDialog([this](HWND dialog) {
        const std::wstring library = L"%SystemRoot%\\system32\\shell32.dll,3";
        for (const auto& [icon, says] : {std::pair(std::wstring(L"a.ico,0"), kAreaUnreadable.c_str()),
                                         std::pair(std::wstring(L"C:\\нет.ico,0"), kAreaMissing.c_str()),
                                         std::pair(std::wstring(L"huge.ico,0"), kAreaTooLarge.c_str()),
                                         std::pair(std::wstring(L"red.ico"), L""), std::pair(library, L"")}) {
            if (icon != L"a.ico,0") {
                SetDlgItemTextW(dialog, txtIcon, icon.c_str());
                Sleep(500);
                pump();
            }
            const std::set<COLORREF> shown = areaColours(GetDlgItem(dialog, picIcon));
            EXPECT_EQ(std::tuple(windowText(GetDlgItem(dialog, picIcon)), IsWindowEnabled(GetDlgItem(dialog, picIcon)),
                                 windowText(GetDlgItem(dialog, txtIcon))),
                      std::tuple(says, FALSE, icon))
                << utf8(icon);
            if (*says) {
                EXPECT_TRUE(shown.count(GetSysColor(COLOR_BTNTEXT))) << "the reason in the text's colour";
                expectTahomaCaptionsThatFit(dialog);
            } else if (icon == L"red.ico") {
                EXPECT_EQ(shown, std::set {RGB(255, 0, 0)});
            } else {
                EXPECT_TRUE(std::any_of(shown.begin(), shown.end(),
                                        [](COLORREF c) { return c != GetSysColor(COLOR_BTNTEXT); }));
            }
        }
    });
    writeFile(folder.desktopIni(), ansiBytes(L"[.ShellClassInfo]\r\nIconResource=\\\\server\\share\\a.ico,0\r\n"));
    withDialog([](HWND dialog) { EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, picIcon))) << "waits for a click"; });
}

// A folder picture that cannot be shown says why in its area, in the text's colour.
TEST_F(FolderInfoDialogTest, PictureThatCannotBeShownSaysWhy)
{
    writeFile(folder.at(L"битая.jpg"), "not a picture");
    std::string huge = bmpBytes(8, 8, RGB(0, 128, 0), RGB(0, 128, 0));
    huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8)); // 30,000 x 30,000
    writeFile(folder.at(L"огромная.bmp"), huge);
    withDialog([this](HWND dialog) {
        const HWND area = GetDlgItem(dialog, picLogo);
        for (const auto& [name, says] : {std::pair(L"нет.bmp", kAreaMissing), std::pair(L"битая.jpg", kAreaUnreadable),
                                         std::pair(L"огромная.bmp", kAreaTooLarge)}) {
            SetDlgItemTextW(dialog, txtLogo, folder.at(name).c_str());
            Sleep(400);
            for (int wait = 0; wait < 200 && (pump(), windowText(area).empty()); ++wait)
                Sleep(10);
            EXPECT_EQ(windowText(area), says) << utf8(name);
            EXPECT_TRUE(areaColours(area).count(GetSysColor(COLOR_BTNTEXT))) << utf8(name);
        }
    });
}

} // namespace

namespace {

// The main window with its preview, which the tests find as the window of the
// preview's class that the main window owns.
struct PreviewWindowTest : MainWindowTest {
    HWND preview() const
    {
        for (HWND found = FindWindowExW(nullptr, nullptr, frmPreview::kClassName, nullptr); found;
             found = FindWindowExW(nullptr, found, frmPreview::kClassName, nullptr)) {
            if (GetWindow(found, GW_OWNER) == owner)
                return found;
        }
        return nullptr;
    }
    void pressF3()
    {
        BYTE keys[256] = {};
        SetKeyboardState(keys);
        MSG message = {item(txtPicture), WM_KEYDOWN, VK_F3, 1, 0, {}};
        form_->preTranslateMessage(message);
        pump();
    }
    // The colour of the preview's client area at x, y, as it paints itself.
    COLORREF pixel(int x, int y) const
    {
        const WindowDC screen(nullptr);
        const MemoryDC dc(CreateCompatibleDC(screen.get()));
        RECT client;
        GetClientRect(preview(), &client);
        const BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
        const SelectedObject selected(dc.get(), bitmap.get());
        SendMessageW(preview(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        return GetPixel(dc.get(), x, y);
    }
    // The pixel once it shows the colour, or after five seconds: pictures are decoded
    // on a thread of their own.
    COLORREF pixelOnceShown(int x, int y, COLORREF expected)
    {
        COLORREF shown = pixel(x, y);
        for (int tries = 0; tries < 500 && shown != expected; ++tries) {
            Sleep(10);
            pump();
            shown = pixel(x, y);
        }
        return shown;
    }

    HWND owner = nullptr;
};

} // namespace

// F3 and the system menu's item (after a separator, before "Close", however often the
// menu is opened) open one preview; Esc closes it alone; closing the main window
// closes it too.
TEST_F(PreviewWindowTest, OpensByF3OrTheSystemMenuAndClosesAlone)
{
    open();
    owner = window();
    const HMENU menu = GetSystemMenu(window(), FALSE);
    for (int opened = 0; opened < 2; ++opened) // what the system sends before it shows the menu
        SendMessageW(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    std::vector<UINT> ids;
    for (int position = 0; position < GetMenuItemCount(menu); ++position)
        ids.push_back(GetMenuItemID(menu, position));
    // Wine adds an item of its own after "Close".
    const auto close = std::find(ids.begin(), ids.end(), SC_CLOSE);
    ASSERT_GE(close - ids.begin(), 8);
    EXPECT_EQ(std::vector<UINT>(close - 8, close + 1),
              (std::vector<UINT> {0, mnuPreview, mnuFolderInfo, mnuFolderCommand, mnuUndo, mnuFolders, mnuJournal, 0,
                                  SC_CLOSE}));
    EXPECT_EQ(std::count(ids.begin(), ids.end(), mnuPreview), 1);
    for (const auto& [id, text] :
         {std::pair(mnuPreview, kPreviewMenuItem), std::pair(mnuFolderInfo, kFolderInfoMenuItem),
          std::pair(mnuFolderCommand, kFolderCommandMenuItem)}) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, id, caption, 64, MF_BYCOMMAND);
        EXPECT_STREQ(caption, text);
    }

    pressF3();
    const HWND first = preview();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(IsWindowVisible(first));
    wchar_t title[512] = {};
    GetWindowTextW(first, title, 512);
    EXPECT_EQ(title, kPreviewCaption + folder.path());
    pressF3();
    EXPECT_EQ(preview(), first) << "F3 brings the open preview to the front";

    SendMessageW(first, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_EQ(preview(), nullptr);
    ASSERT_TRUE(form_->isLoaded());

    SendMessageW(window(), WM_SYSCOMMAND, mnuPreview, 0);
    pump();
    const HWND second = preview();
    ASSERT_NE(second, nullptr);
    SendMessageW(window(), WM_CLOSE, 0, 0);
    pump();
    EXPECT_FALSE(form_->isLoaded());
    EXPECT_FALSE(IsWindow(second));
}

// The picture text, the folder and the caption background show in the open preview at
// once; a picture that cannot be decoded is said so in a line over the window colour.
TEST_F(PreviewWindowTest, FollowsEveryChangeOfTheMainWindow)
{
    const TempFolder pictures, other(L" Другой");
    writeFile(pictures.at(L"красная.bmp"), bmpBytes(16, 16, RGB(255, 0, 0), RGB(255, 0, 0)));
    writeFile(pictures.at(L"битая.jpg"), "not a picture");
    writeFile(other.at(L"лес.bmp"), bmpBytes(16, 16, RGB(0, 128, 0), RGB(0, 128, 0)));
    writeLook(other, L"IconArea_Image=лес.bmp\r\nIconArea_TextBackground=0x00FF0000\r\n");
    open();
    owner = window();
    pressF3();
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(pixel(5, 5), window);

    SetWindowTextW(item(txtPicture), pictures.at(L"красная.bmp").c_str());
    EXPECT_EQ(pixelOnceShown(5, 5, RGB(255, 0, 0)), RGB(255, 0, 0));
    SetWindowTextW(item(txtPicture), pictures.at(L"битая.jpg").c_str());
    EXPECT_EQ(pixel(2, 2), window);
    RECT client;
    GetClientRect(preview(), &client);
    EXPECT_EQ(pixel(client.right - 2, client.bottom - 2), window);

    components.folder.answer = other.path();
    click(cmdBrowseFolder);
    EXPECT_EQ(pixelOnceShown(client.right - 2, client.bottom - 2, RGB(0, 128, 0)), RGB(0, 128, 0))
        << "the other folder's own picture";
    wchar_t title[512] = {};
    GetWindowTextW(preview(), title, 512);
    EXPECT_EQ(title, kPreviewCaption + other.path());
}
