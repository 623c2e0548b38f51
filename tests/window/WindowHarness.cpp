#include "tests/window/WindowHarness.h"

#include "support/ColorSwatch.h"

#include <cwchar>

namespace {

// The next scripted answer, or a cancel when none is left.
template <typename Answer> std::optional<Answer> nextAnswer(std::deque<std::optional<Answer>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const std::optional<Answer> answer = answers.front();
    answers.pop_front();
    return answer;
}

class StandInPictureDialog : public PictureFileDialog {
public:
    explicit StandInPictureDialog(StandInComponents& components) : components_(components)
    {
        // Values the window must overwrite, so that a field it forgets shows.
        fileName = filter = initialFolder = L"(unset)";
        options = -1;
    }
    bool show() override
    {
        components_.pictureRequests.push_back({fileName, filter, options, initialFolder, owner});
        const std::optional<std::wstring> answer = nextAnswer(components_.pictureAnswers);
        // A cancelled dialog may still leave text behind; the window must ignore it.
        fileName = answer.value_or(L"Z:\\отменено.bmp");
        return answer.has_value();
    }

private:
    StandInComponents& components_;
};

class StandInFolderDialog : public FolderDialog {
public:
    explicit StandInFolderDialog(StandInComponents& components) : components_(components)
    {
        folder = prompt = L"(unset)";
    }
    bool show() override
    {
        components_.folderRequests.push_back({owner, folder, prompt});
        const std::optional<std::wstring> answer = nextAnswer(components_.folderAnswers);
        folder = answer.value_or(L"Z:\\отменено");
        return answer.has_value();
    }

private:
    StandInComponents& components_;
};

class StandInColorDialog : public ColorDialog {
public:
    explicit StandInColorDialog(StandInComponents& components) : components_(components) { color = 0x01020304; }
    bool show() override
    {
        components_.colorRequests.push_back({owner, color});
        const std::optional<std::int32_t> answer = nextAnswer(components_.colorAnswers);
        color = answer.value_or(0x00ABCDEF);
        return answer.has_value();
    }

private:
    StandInComponents& components_;
};

class RecordingErrorReporter : public ErrorReporter {
public:
    explicit RecordingErrorReporter(StandInComponents& components) : components_(components) {}
    void report(const ErrorInfo& error, UINT style, HWND, const std::wstring& message, std::int16_t& response) override
    {
        const HWND window = components_.mainWindow;
        const bool shown = window && IsWindow(window) && IsWindowVisible(window);
        components_.errorReports.push_back({error.number, style, message, GetCursor(), shown});
        response = IDOK;
    }

private:
    StandInComponents& components_;
};

class RecordingAboutBox : public AboutBox {
public:
    explicit RecordingAboutBox(StandInComponents& components) : components_(components) {}
    void show(HWND owner, const AppInfo&, const std::wstring&, const wchar_t*, const std::wstring&) override
    {
        components_.aboutOwners.push_back(owner);
    }

private:
    StandInComponents& components_;
};

// Reads a window's text from another thread without waiting for ever on a box that
// is already going away.
std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &copied))
        return L"";
    text.resize(copied);
    return text;
}

BoxIcon iconOf(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        DWORD_PTR icon = 0;
        SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
        if (!icon || !IsWindowVisible(child))
            return BoxIcon::None;
        if (reinterpret_cast<HICON>(icon) == LoadIconW(nullptr, IDI_HAND))
            return BoxIcon::Stop;
        if (reinterpret_cast<HICON>(icon) == LoadIconW(nullptr, IDI_ASTERISK))
            return BoxIcon::Information;
        return BoxIcon::Other;
    }
    return BoxIcon::None;
}

BOOL CALLBACK findBox(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process == GetCurrentProcessId() && std::wcscmp(className, L"#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

void writeLook(const TempFolder& folder, const std::wstring& viewLines)
{
    writeFile(folder.desktopIni(),
              ansiBytes(L"[ExtShellFolderViews]\r\n" + kView + L"=" + kView + L"\r\n[" + kView
                        + L"]\r\nAttributes=1\r\n" + viewLines + L"[.ShellClassInfo]\r\nConfirmFileOp=0\r\n"));
}

std::unique_ptr<PictureFileDialog> StandInComponents::newPictureFileDialog()
{
    ++picturePickersMade;
    return std::make_unique<StandInPictureDialog>(*this);
}

std::unique_ptr<FolderDialog> StandInComponents::newFolderDialog()
{
    ++folderPickersMade;
    return std::make_unique<StandInFolderDialog>(*this);
}

std::unique_ptr<ColorDialog> StandInComponents::newColorDialog()
{
    ++colorPickersMade;
    return std::make_unique<StandInColorDialog>(*this);
}

ErrorReporter& StandInComponents::errorReporter()
{
    if (!errorReporter_)
        errorReporter_ = std::make_unique<RecordingErrorReporter>(*this);
    return *errorReporter_;
}

AboutBox& StandInComponents::aboutBox()
{
    if (!aboutBox_)
        aboutBox_ = std::make_unique<RecordingAboutBox>(*this);
    return *aboutBox_;
}

MessageBoxCloser::MessageBoxCloser() : thread_([this] { run(); }) {}

MessageBoxCloser::~MessageBoxCloser()
{
    stop_ = true;
    thread_.join();
}

std::vector<ShownBox> MessageBoxCloser::shown() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

void MessageBoxCloser::run()
{
    while (!stop_) {
        HWND box = nullptr;
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
        if (box)
            close(box);
        else
            Sleep(10);
    }
}

void MessageBoxCloser::close(HWND box)
{
    ShownBox seen {textOf(box), textOf(GetDlgItem(box, 0xFFFF)), iconOf(box), GetWindow(box, GW_OWNER)};
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        shown_.push_back(seen);
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int waited = 0; IsWindow(box) && waited < 5000; waited += 10)
        Sleep(10);
}

void MainWindowTest::SetUp()
{
    // A quit message left by an earlier window would end the next message box at once.
    pump();
    quitPosted = false;
}

void MainWindowTest::TearDown()
{
    form_.reset();
    pump();
}

void MainWindowTest::open(const std::wstring& arguments)
{
    if (form_) {
        form_.reset();
        pump();
        quitPosted = false;
    }
    form_ = std::make_unique<frmMain>(components, files);
    ASSERT_TRUE(form_->show(arguments));
    components.mainWindow = form_->handle();
    pump();
}

std::wstring MainWindowTest::text(ControlId id) const
{
    const HWND control = item(id);
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
    return value;
}

int MainWindowTest::check(ControlId id) const
{
    return static_cast<int>(SendMessageW(item(id), BM_GETCHECK, 0, 0));
}

std::int32_t MainWindowTest::swatch(ControlId id) const
{
    return static_cast<std::int32_t>(SendMessageW(item(id), kSwatchGetColor, 0, 0));
}

void MainWindowTest::click(ControlId id)
{
    SendMessageW(item(id), BM_CLICK, 0, 0);
    pump();
}

void MainWindowTest::pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitPosted = true;
            continue;
        }
        if (form_ && form_->preTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool MainWindowTest::pumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (done())
            return true;
        if (GetTickCount() - start > milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

namespace {

INPUT keyInput(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, 0)); // MAPVK_VK_TO_VSC
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

void MainWindowTest::pressKey(std::initializer_list<WORD> held, WORD key)
{
    std::vector<INPUT> inputs;
    for (const WORD modifier : held)
        inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(key, false));
    inputs.push_back(keyInput(key, true));
    for (auto modifier = held.end(); modifier != held.begin();)
        inputs.push_back(keyInput(*--modifier, true));
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

void MainWindowTest::typeText(const std::wstring& text)
{
    std::vector<INPUT> inputs;
    for (const wchar_t character : text) {
        for (const bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = character;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

void MainWindowTest::bringToFront()
{
    SetForegroundWindow(window());
    ASSERT_TRUE(pumpUntil([this] { return GetForegroundWindow() == window(); }))
        << "the window did not come to the foreground, so typed keys would go elsewhere";
}

std::wstring describe(const FolderLookState& state)
{
    wchar_t colors[64];
    std::swprintf(colors, 64, L"text %d/%06X back %d/%06X", state.textColorOn, static_cast<unsigned>(state.textColor),
                  state.backColorOn, static_cast<unsigned>(state.backColor));
    return L"folder [" + state.folder + L"] picture [" + state.picture + L"] copy " + std::to_wstring(state.copyPicture)
        + L" " + colors;
}
