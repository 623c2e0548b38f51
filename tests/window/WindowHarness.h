#pragma once
#include "app/frmMain.h"
#include "common/TestFiles.h"
#include "folderview/Win32FolderFiles.h"
#include "resources/MainLayout.h"
#include "support/Components.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A settings file that shows viewLines (e.g. L"IconArea_Text=0x000000FF\r\n") in the view's section.
void writeLook(const TempFolder& folder, const std::wstring& viewLines);

// What the window set in each picker when it showed it.
struct PictureRequest {
    std::wstring fileName, filter;
    int options;
    std::wstring initialFolder;
    HWND owner;
};
struct FolderRequest {
    HWND owner;
    std::wstring folder, prompt;
};
struct ColorRequest {
    HWND owner;
    std::int32_t color;
};
struct ErrorReport {
    std::uint32_t number;
    UINT style;
    std::wstring message;
    HCURSOR pointer; // the pointer while the command ran
    bool windowShown;
};

// Components whose pickers give scripted answers and whose error reporter and about
// box only record their calls. A picker with no answer left cancels.
class StandInComponents : public Components {
public:
    std::deque<std::optional<std::wstring>> pictureAnswers; // nullopt: cancel
    std::deque<std::optional<std::wstring>> folderAnswers;
    std::deque<std::optional<std::int32_t>> colorAnswers;

    std::vector<PictureRequest> pictureRequests;
    std::vector<FolderRequest> folderRequests;
    std::vector<ColorRequest> colorRequests;
    int picturePickersMade = 0;
    int folderPickersMade = 0;
    int colorPickersMade = 0;
    std::vector<ErrorReport> errorReports;
    std::vector<HWND> aboutOwners;
    HWND mainWindow = nullptr; // for windowShown

    std::unique_ptr<PictureFileDialog> newPictureFileDialog() override;
    std::unique_ptr<FolderDialog> newFolderDialog() override;
    std::unique_ptr<ColorDialog> newColorDialog() override;
    ErrorReporter& errorReporter() override;
    AboutBox& aboutBox() override;

private:
    std::unique_ptr<ErrorReporter> errorReporter_;
    std::unique_ptr<AboutBox> aboutBox_;
};

enum class BoxIcon { None, Stop, Information, Other };

struct ShownBox {
    std::wstring title, text;
    BoxIcon icon;
    HWND owner;
};

// Watches for message boxes of this process from a thread of its own, records each
// and presses its OK button, so that a test never hangs on one.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
    ~MessageBoxCloser();

    std::vector<ShownBox> shown() const;

private:
    void run();
    void close(HWND box);

    mutable std::mutex mutex_;
    std::vector<ShownBox> shown_;
    std::atomic<bool> stop_ {false};
    std::thread thread_;
};

// The main window in this process on real files, with stand-in components.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window on the argument text and runs its waiting messages.
    void open(const std::wstring& arguments);
    HWND window() const { return form_->handle(); }
    HWND item(ControlId id) const { return GetDlgItem(form_->handle(), id); }
    std::wstring text(ControlId id) const;
    int check(ControlId id) const;
    std::int32_t swatch(ControlId id) const;
    // Presses the button as a mouse click would, and runs what that queued.
    void click(ControlId id);

    // Runs the waiting messages through the window's own route; sets quitPosted.
    void pump();
    // Pumps until done() holds; false after the timeout.
    bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000);

    // Keyboard input as a user types it: held keys go down first and up last.
    void pressKey(std::initializer_list<WORD> held, WORD key);
    void typeText(const std::wstring& text);
    // Makes the window the foreground window so that typed keys reach it.
    void bringToFront();

    StandInComponents components;
    Win32FolderFiles files;
    MessageBoxCloser boxes;
    std::unique_ptr<frmMain> form_;
    bool quitPosted = false;
};

// The window's state as one readable line, for comparisons that name every field.
std::wstring describe(const FolderLookState& state);
