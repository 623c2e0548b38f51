#pragma once
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Drives the real Quenmark.exe from the test process: starts it, finds its windows and
// reads them across the process boundary, presses its buttons and keys, and captures
// what it draws on the screen.
namespace e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// Long enough for Wine to start a program or open a system dialog on a busy machine.
inline constexpr Milliseconds kPatience = 20s;

// Polls until done() holds or kPatience is up; the last answer of done().
bool waitUntil(const std::function<bool()>& done);

// The exe under test, from the environment variable QUENMARK_EXE_UNDER_TEST.
std::wstring exeUnderTest();
// Where the tests leave screenshots.
std::wstring artifactsFolder();

// What any window shows, read so that it works for windows of other processes.
std::wstring windowText(HWND window);
std::wstring className(HWND window);
bool hasClass(HWND window, const wchar_t* name); // without regard to case, as Windows matches
DWORD style(HWND window);
// The child's rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);
SIZE clientSize(HWND window);
// Direct children in creation (Z) order.
std::vector<HWND> children(HWND parent);
// The first visible window of the class among all the window's descendants; null if none.
HWND findDescendant(HWND root, const wchar_t* className);
// The combo box's item texts.
std::vector<std::wstring> comboItems(HWND combo);

// Pixels copied from the screen when the object is made.
class ScreenImage {
public:
    explicit ScreenImage(const RECT& screenArea);
    // Of the window, frame included.
    static ScreenImage ofWindow(HWND window);

    int width() const { return width_; }
    int height() const { return height_; }
    // x and y count from the captured area's top left corner.
    COLORREF pixel(int x, int y) const;
    // How many pixels satisfy the test.
    int count(const std::function<bool(COLORREF)>& test) const;
    // Writes a 24-bit .bmp file.
    void save(const std::wstring& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_; // rows top down, 0x00RRGGBB
};

// The colour the screen shows in the middle of the window.
COLORREF centrePixel(HWND window);

// A message box or system dialog ("#32770") and what it shows.
struct Box {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text; // the longest static text: a message box's message
    HWND icon = nullptr; // the visible icon control, if any
    std::vector<HWND> buttons; // visible push buttons, in Z order

    // The OK button: the message box's only button, or the one with ID IDOK.
    HWND okButton() const;
};
Box readBox(HWND window);

// The standard icons are told apart by their colour, since icon handles cannot be
// compared across processes: the information icon is blue, the stop icon red.
enum class IconTint { Blue, Red };
// Whether the box shows an icon drawn mainly in that tint, once it has been painted.
bool showsIcon(const Box& box, IconTint tint);

// Presses a button whose click returns at once (SendMessage), or one whose click opens
// a modal box (PostMessage, since the click returns only when the box closes).
void click(HWND button);
void postClick(HWND button);
void setText(HWND window, const std::wstring& text);

// One run of the exe under test. The destructor ends the process if it still runs.
class QuenmarkRun {
public:
    // arguments: everything after the quoted program name on the command line, as is.
    QuenmarkRun(const std::wstring& arguments, const std::wstring& currentDirectory);
    QuenmarkRun(const QuenmarkRun&) = delete;
    QuenmarkRun& operator=(const QuenmarkRun&) = delete;
    ~QuenmarkRun();

    // Whether the process started and showed its main window; if not, why.
    testing::AssertionResult started() const;
    HWND main() const { return main_; }
    HWND control(int id) const { return GetDlgItem(main_, id); }

    bool running() const;
    // Waits for the process to end; false if it still runs after the timeout.
    bool waitForExit(Milliseconds timeout = kPatience);
    DWORD exitCode() const;

    // The visible "#32770" windows of the process.
    std::vector<HWND> boxes() const;
    // Waits for a "#32770" window of the process, with this title if one is given.
    HWND waitForBox(const std::wstring& title = {}) const;
    // Waits for the box to be gone.
    bool waitForBoxClosed(HWND box) const;

    // The window of the process that has the keyboard focus.
    HWND focus() const;
    // Makes the main window the foreground one and sends the key, with the modifier
    // keys (VK_SHIFT, VK_CONTROL, VK_MENU) held down around it, as real input.
    bool pressKey(WORD key, std::initializer_list<WORD> modifiers = {});

private:
    PROCESS_INFORMATION process_ = {};
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
    std::wstring failure_;
};

// Quenmark's own parts, as the tests read and set them.
int checkState(HWND checkBox);
COLORREF swatchColor(HWND swatch);
void setSwatchColor(HWND swatch, COLORREF colour);
// Whether the screen shows the colour inside the swatch, once it has been painted.
bool swatchShows(HWND swatch, COLORREF colour);

// Sets a key in a settings file as another program would, through the profile calls.
void writeIni(const std::wstring& path, const std::wstring& section, const std::wstring& key,
              const std::wstring& value);

} // namespace e2e
