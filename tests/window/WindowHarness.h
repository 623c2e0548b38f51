#pragma once
#include "app/frmMain.h"
#include "common/TestFiles.h"
#include "folderview/Win32FolderFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// A settings file whose view section holds viewLines (e.g. L"IconArea_Text=0x000000FF\r\n").
inline void writeLook(const TempFolder& folder, const std::wstring& viewLines)
{
    writeFile(folder.desktopIni(),
              ansiBytes(L"[ExtShellFolderViews]\r\n" + kView + L"=" + kView + L"\r\n[" + kView
                        + L"]\r\nAttributes=1\r\n" + viewLines + L"[.ShellClassInfo]\r\nConfirmFileOp=0\r\n"));
}

template <typename Dialog, typename Answer> class StandInDialog;

// What one kind of picker answers (none: the user cancels), and what the window set in it each time.
template <typename Dialog, typename Answer> struct PickerScript {
    explicit PickerScript(Answer Dialog::*field) : result(field) {}

    Answer Dialog::*result;
    std::optional<Answer> answer;
    std::vector<Dialog> shown;
    int made = 0;

    std::unique_ptr<Dialog> make() { return std::make_unique<StandInDialog<Dialog, Answer>>(*this); }
};

template <typename Dialog, typename Answer> class StandInDialog : public Dialog {
public:
    explicit StandInDialog(PickerScript<Dialog, Answer>& script) : script_(script) { ++script.made; }
    bool show() override
    {
        script_.shown.push_back(*this);
        // A cancelled dialog may still leave its field changed; the window must ignore it.
        this->*script_.result = script_.answer.value_or(Answer {});
        return script_.answer.has_value();
    }

private:
    PickerScript<Dialog, Answer>& script_;
};

struct ErrorReport {
    std::uint32_t number;
    UINT style;
    std::wstring message;
    HCURSOR pointer; // while the command ran
};

class StandInComponents : public Components, public ErrorReporter, public AboutBox {
public:
    PickerScript<PictureFileDialog, std::wstring> picture {&PictureFileDialog::fileName};
    PickerScript<FolderDialog, std::wstring> folder {&FolderDialog::folder};
    PickerScript<ColorDialog, std::int32_t> color {&ColorDialog::color};
    std::vector<ErrorReport> reports;
    std::vector<HWND> aboutOwners;

    std::unique_ptr<PictureFileDialog> newPictureFileDialog() override { return picture.make(); }
    std::unique_ptr<FolderDialog> newFolderDialog() override { return folder.make(); }
    std::unique_ptr<ColorDialog> newColorDialog() override { return color.make(); }
    ErrorReporter& errorReporter() override { return *this; }
    void report(const ErrorInfo& error, UINT style, HWND, const std::wstring& message, std::int16_t& response) override
    {
        reports.push_back({error.number, style, message, GetCursor()});
        response = IDOK;
    }
    AboutBox& aboutBox() override { return *this; }
    void show(HWND owner, const AppInfo&, const std::wstring&, const wchar_t*, const std::wstring&) override
    {
        aboutOwners.push_back(owner);
    }
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
        form_.reset();
        pump();
        UnhookWindowsHookEx(boxCloser_);
        EXPECT_TRUE(boxTexts.empty()) << "unexpected message box: " << utf8(boxTexts.front());
        boxTexts.clear();
    }

    void open() { open(folder.path()); }
    void open(const std::wstring& arguments)
    {
        form_ = std::make_unique<frmMain>(components, files);
        ASSERT_TRUE(form_->show(arguments));
        pump();
    }
    HWND window() const { return form_->handle(); }
    HWND item(ControlId id) const { return GetDlgItem(window(), id); }
    std::wstring text(ControlId id) const
    {
        std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(item(id))) + 1, L'\0');
        value.resize(static_cast<std::size_t>(GetWindowTextW(item(id), value.data(), static_cast<int>(value.size()))));
        return value;
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
