#include "Driver.h"

#include "support/ColorSwatch.h"

#include <algorithm>
#include <iterator>
#include <thread>

namespace e2e {

namespace {

// How long a cross-process message may take before the other side counts as hung.
constexpr auto kMessageTimeoutMs = static_cast<UINT>(kPatience.count());

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

std::wstring widen(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::string environment(const char* name)
{
    char buffer[32768];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search.processId && IsWindowVisible(window) && hasClass(window, search.className))
        search.found.push_back(window);
    return TRUE;
}

struct DescendantSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK findVisible(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<DescendantSearch*>(data);
    if (IsWindowVisible(window) && hasClass(window, search.className))
        search.found = window;
    return search.found == nullptr;
}

std::vector<HWND> topLevelWindows(DWORD processId, const wchar_t* className)
{
    WindowSearch search = {processId, className, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool sameText(const std::wstring& first, const std::wstring& second)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, first.c_str(), -1, second.c_str(), -1) == CSTR_EQUAL;
}

// Whether the tint's channel is well above the other two; shading keeps most of an
// icon's pixels so.
bool tinted(COLORREF colour, IconTint tint)
{
    const int red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
    constexpr int margin = 40;
    return tint == IconTint::Blue ? blue >= red + margin && blue >= green + margin
                                  : red >= green + margin && red >= blue + margin;
}

// A path as Windows programs take it: a Linux absolute path (as the build hands it to
// a test under Wine) becomes the same place on Wine's drive Z:.
std::wstring windowsPath(const std::string& path)
{
    std::wstring result = widen(path);
    if (result.empty() || result[0] != L'/')
        return result;
    std::replace(result.begin(), result.end(), L'/', L'\\');
    return L"Z:" + result;
}

// The exe declares itself DPI-aware; a test process that did not would see its windows
// in scaled coordinates on a screen of more than 96 DPI. Systems before Vista scale
// nothing and lack the function.
void becomeDpiAware()
{
    using SetAware = BOOL(WINAPI*)();
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, "SetProcessDPIAware") : nullptr;
    if (found)
        reinterpret_cast<SetAware>(reinterpret_cast<void (*)()>(found))();
}

} // namespace

bool waitUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return done();
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::wstring exeUnderTest()
{
    return windowsPath(environment("QUENMARK_EXE_UNDER_TEST"));
}

std::wstring artifactsFolder()
{
    return windowsPath(QUENMARK_ARTIFACTS);
}

std::wstring windowText(HWND window)
{
    const auto length = static_cast<std::size_t>(sendMessage(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(sendMessage(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256];
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 256)));
}

bool hasClass(HWND window, const wchar_t* name)
{
    return sameText(className(window), name);
}

DWORD style(HWND window)
{
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

RECT rectInParent(HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE clientSize(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> result;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        result.push_back(child);
    return result;
}

HWND findDescendant(HWND root, const wchar_t* name)
{
    DescendantSearch search = {name, nullptr};
    EnumChildWindows(root, findVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::wstring> comboItems(HWND combo)
{
    std::vector<std::wstring> items;
    const LRESULT count = sendMessage(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto index = static_cast<WPARAM>(i);
        std::wstring item(static_cast<std::size_t>(sendMessage(combo, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
        const LRESULT length = sendMessage(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
        item.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        items.push_back(item);
    }
    return items;
}

ScreenImage::ScreenImage(const RECT& screenArea)
    : width_(std::max(0L, screenArea.right - screenArea.left)),
      height_(std::max(0L, screenArea.bottom - screenArea.top))
{
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    if (pixels_.empty())
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, screenArea.left, screenArea.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits);
        std::copy(source, source + pixels_.size(), pixels_.begin());
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

ScreenImage ScreenImage::ofWindow(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return ScreenImage(rect);
}

COLORREF ScreenImage::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    const std::uint32_t value =
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

int ScreenImage::count(const std::function<bool(COLORREF)>& test) const
{
    int result = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result += test(pixel(x, y)) ? 1 : 0;
    return result;
}

void ScreenImage::save(const std::wstring& path) const
{
    const auto rowSize = static_cast<std::size_t>((width_ * 3 + 3) / 4 * 4);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_; // bottom up, which every viewer reads
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rowSize * static_cast<std::size_t>(height_));
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42; // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;

    std::string bytes(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = height_ - 1; y >= 0; --y) {
        std::string row(rowSize, '\0');
        for (int x = 0; x < width_; ++x) {
            const COLORREF colour = pixel(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<char>(GetBValue(colour));
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<char>(GetGValue(colour));
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<char>(GetRValue(colour));
        }
        bytes += row;
    }
    writeFile(path, bytes);
}

COLORREF centrePixel(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    const ScreenImage image(rect);
    return image.pixel(image.width() / 2, image.height() / 2);
}

HWND Box::okButton() const
{
    if (const HWND ok = GetDlgItem(window, IDOK); ok && IsWindowVisible(ok))
        return ok;
    return buttons.size() == 1 ? buttons.front() : nullptr;
}

Box readBox(HWND window)
{
    Box box;
    box.window = window;
    box.title = windowText(window);
    for (HWND child : children(window)) {
        if (!IsWindowVisible(child))
            continue;
        const DWORD childStyle = style(child);
        if (hasClass(child, L"Static")) {
            if ((childStyle & SS_TYPEMASK) == SS_ICON) {
                box.icon = child;
            } else if (const std::wstring text = windowText(child); text.size() > box.text.size()) {
                box.text = text;
            }
        } else if (hasClass(child, L"Button")) {
            const DWORD kind = childStyle & BS_TYPEMASK;
            if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)
                box.buttons.push_back(child);
        }
    }
    return box;
}

bool showsIcon(const Box& box, IconTint tint)
{
    if (!box.icon)
        return false;
    const IconTint other = tint == IconTint::Blue ? IconTint::Red : IconTint::Blue;
    return waitUntil([&] {
        const ScreenImage image = ScreenImage::ofWindow(box.icon);
        const int wanted = image.count([tint](COLORREF colour) { return tinted(colour, tint); });
        const int others = image.count([other](COLORREF colour) { return tinted(colour, other); });
        return wanted >= image.width() * image.height() / 10 && others < wanted / 10;
    });
}

void click(HWND button)
{
    sendMessage(button, BM_CLICK, 0, 0);
}

void postClick(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

void setText(HWND window, const std::wstring& text)
{
    sendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

QuenmarkRun::QuenmarkRun(const std::wstring& arguments, const std::wstring& currentDirectory)
{
    becomeDpiAware();
    const std::wstring exe = exeUnderTest();
    std::wstring commandLine = L"\"" + exe + L"\"" + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &process_)) {
        failure_ = L"cannot start \"" + exe + L"\" (QUENMARK_EXE_UNDER_TEST): error " + std::to_wstring(GetLastError());
        return;
    }
    processId_ = process_.dwProcessId;
    waitUntil([this] {
        const std::vector<HWND> found = topLevelWindows(processId_, L"QuenmarkMain");
        main_ = found.empty() ? nullptr : found.front();
        return main_ != nullptr || !running();
    });
    if (main_)
        threadId_ = GetWindowThreadProcessId(main_, nullptr);
    else
        failure_ = running() ? L"no main window appeared"
                             : L"ended without a window, exit code " + std::to_wstring(exitCode());
}

testing::AssertionResult QuenmarkRun::started() const
{
    if (main_)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << failure_;
}

QuenmarkRun::~QuenmarkRun()
{
    if (!process_.hProcess)
        return;
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, static_cast<DWORD>(kPatience.count()));
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool QuenmarkRun::running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool QuenmarkRun::waitForExit(Milliseconds timeout)
{
    return process_.hProcess
        && WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD QuenmarkRun::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::vector<HWND> QuenmarkRun::boxes() const
{
    return topLevelWindows(processId_, L"#32770");
}

HWND QuenmarkRun::waitForBox(const std::wstring& title) const
{
    HWND found = nullptr;
    waitUntil([&] {
        for (HWND box : boxes())
            if (title.empty() || windowText(box) == title)
                found = box;
        return found != nullptr;
    });
    return found;
}

bool QuenmarkRun::waitForBoxClosed(HWND box) const
{
    return waitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); });
}

HWND QuenmarkRun::focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

bool QuenmarkRun::pressKey(WORD key, std::initializer_list<WORD> modifiers)
{
    SetForegroundWindow(main_);
    if (!waitUntil([this] { return GetForegroundWindow() == main_; }))
        return false;
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD virtualKey, bool release) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers)
        add(modifier, false);
    add(key, false);
    add(key, true);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
        add(*modifier, true);
    const auto count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

int checkState(HWND checkBox)
{
    return static_cast<int>(sendMessage(checkBox, BM_GETCHECK, 0, 0));
}

COLORREF swatchColor(HWND swatch)
{
    return static_cast<COLORREF>(sendMessage(swatch, kSwatchGetColor, 0, 0));
}

void setSwatchColor(HWND swatch, COLORREF colour)
{
    sendMessage(swatch, kSwatchSetColor, colour, 0);
}

bool swatchShows(HWND swatch, COLORREF colour)
{
    return waitUntil([&] { return centrePixel(swatch) == colour; });
}

void writeIni(const std::wstring& path, const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()))
        throw systemError("WritePrivateProfileStringW", path);
}

} // namespace e2e
