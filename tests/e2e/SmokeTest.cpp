// The real Quenmark.exe, started under Wine and driven from the test process through
// its windows, as a user would: the folder shown, Esc, and Enter applying, in the main
// window and in the icon and comment dialog; and started as the shell starts the
// folders' command, for one folder or for a selection.
#include "app/FolderCommand.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "resources/FolderInfoLayout.h"
#include "resources/MainLayout.h"
#include "resources/Texts.h"
#include "support/ColorSwatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// Long enough for Wine to start a program on a busy machine.
constexpr auto kPatience = std::chrono::seconds(20);

// A visible window of the class with the title, once there is one; one run at a time,
// so it is that run's.
HWND waitForWindow(const wchar_t* className, const wchar_t* title = L"Quenmark")
{
    const auto end = std::chrono::steady_clock::now() + kPatience;
    HWND window = nullptr;
    while (!((window = FindWindowW(className, title)) && IsWindowVisible(window))
           && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return window;
}

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 20000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring text(HWND window)
{
    std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// Presses the key in the window as from the keyboard. After Enter, closes the message
// box that follows and returns its text.
std::wstring press(HWND window, WORD key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    if (key != VK_RETURN)
        return {};
    const HWND shownBox = waitForWindow(L"#32770");
    std::wstring box = text(GetDlgItem(shownBox, 0xFFFF)); // every message box's text control
    PostMessageW(shownBox, WM_COMMAND, IDOK, 0);
    return box;
}

std::wstring exeUnderTest()
{
    // The build hands over a Linux path: the same place is on Wine's drive Z:.
    wchar_t exe[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUENMARK_EXE_UNDER_TEST", exe, MAX_PATH);
    std::wstring path = L"Z:" + std::wstring(exe);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// Starts the command line as the shell does, runs the steps on the exe's main window
// once it shows the folder, and returns the exit code.
template <typename Steps> DWORD runCommand(std::wstring commandLine, Steps steps)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    steps(waitForWindow(L"QuenmarkMain"));
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, code);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// The exe under test on the folder as its whole command line.
template <typename Steps> DWORD run(const std::wstring& folder, Steps steps)
{
    return runCommand(L"\"" + exeUnderTest() + L"\"  \"" + folder + L"\" ", steps);
}

} // namespace

TEST(Quenmark, ShowsTheFolderEndsOnEscAndAppliesOnEnter)
{
    TempFolder folder;
    const std::wstring settings = folder.desktopIni();
    writeFile(settings,
              ansiBytes(L"[" + kView + L"]\r\nIconArea_Image=D:\\Фото\\Небо.jpg\r\nIconArea_Text=0x000000FF\r\n"));
    std::wstring shown, box;
    EXPECT_EQ(run(folder.path(),
                  [&](HWND main) {
                      shown = text(GetDlgItem(main, txtWorkFolder)) + L"|" + text(GetDlgItem(main, txtPicture)) + L"|"
                          + std::to_wstring(send(GetDlgItem(main, chkTextColor), BM_GETCHECK)) + L"|"
                          + std::to_wstring(send(GetDlgItem(main, shpTextColor), kSwatchGetColor));
                      press(GetDlgItem(main, txtWorkFolder), VK_ESCAPE);
                  }),
              0u);
    EXPECT_EQ(shown, folder.path() + L"|D:\\Фото\\Небо.jpg|1|" + std::to_wstring(RGB(255, 0, 0)));

    EXPECT_EQ(run(folder.path(), [&](HWND main) { box = press(GetDlgItem(main, txtWorkFolder), VK_RETURN); }), 0u);
    EXPECT_EQ(box, kDone);
    EXPECT_EQ(iniValue(settings, kView, L"IconArea_Image"), L"D:\\Фото\\Небо.jpg");
}

// F4 opens the icon and comment dialog; Enter in it applies the comment typed there,
// and the main window stays until Esc.
TEST(Quenmark, AppliesACommentFromTheDialogOnF4)
{
    TempFolder folder;
    EXPECT_EQ(run(folder.path(),
                  [&](HWND main) {
                      press(GetDlgItem(main, txtWorkFolder), VK_F4);
                      const HWND tip = GetDlgItem(waitForWindow(L"QuenmarkFolderInfo", kFolderInfoCaption), txtInfoTip);
                      send(tip, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Отпуск на море"));
                      EXPECT_EQ(press(tip, VK_RETURN), kDone);
                      // Queued behind the box's OK: the dialog has closed before the main
                      // window's loop takes it.
                      press(GetDlgItem(main, txtWorkFolder), VK_ESCAPE);
                  }),
              0u);
    EXPECT_EQ(iniValue(folder.desktopIni(), L".ShellClassInfo", L"InfoTip"), L"Отпуск на море");
}

// The folders' command as the registry holds it, with the folder put in for %1 as the
// shell does: a folder with blanks and Cyrillic letters, given with a trailing
// backslash, arrives whole in the folder box.
TEST(Quenmark, ShowsTheFolderTheFoldersCommandNames)
{
    const RegistryCleanup cleanup;
    const TempFolder folder(L" Папка с пробелами");
    ASSERT_EQ(switchFolderCommand(exeUnderTest(), false).kind, FolderCommandSwitch::Kind::Added);
    std::wstring command = registryText(kFolderCommandKey + L"\\command").value_or(L"%1");
    command.replace(command.find(L"%1"), 2, folder.path() + L"\\");
    std::wstring shown;
    EXPECT_EQ(runCommand(command,
                         [&](HWND main) {
                             shown = text(GetDlgItem(main, txtWorkFolder));
                             press(GetDlgItem(main, txtWorkFolder), VK_ESCAPE);
                         }),
              0u);
    EXPECT_EQ(shown, folder.path() + L"\\");
}

namespace {

// The data object the shell makes of the named items of folder, as Explorer hands a
// selection to a verb.
IDataObject* shellSelection(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    IShellFolder *desktop = nullptr, *parent = nullptr;
    LPITEMIDLIST parentList = nullptr;
    std::vector<LPITEMIDLIST> items(names.size());
    IDataObject* data = nullptr;
    SHGetDesktopFolder(&desktop);
    desktop->ParseDisplayName(nullptr, nullptr, std::wstring(folder).data(), nullptr, &parentList, nullptr);
    desktop->BindToObject(parentList, nullptr, IID_PPV_ARGS(&parent));
    for (std::size_t index = 0; index < names.size(); ++index)
        parent->ParseDisplayName(nullptr, nullptr, std::wstring(names[index]).data(), nullptr, &items[index], nullptr);
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), const_cast<LPCITEMIDLIST*>(items.data()),
                          IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
    for (LPITEMIDLIST item : items)
        CoTaskMemFree(item);
    CoTaskMemFree(parentList);
    parent->Release();
    desktop->Release();
    return data;
}

} // namespace

// A selection of folders as Explorer hands it to the folders' command: COM makes the
// class the verb's drop target names out of process, starting the exe as its server,
// and the shell's data object of two folders goes to DragEnter and Drop. One copy
// opens one window, on the first folder.
TEST(Quenmark, TakesASelectionOfFoldersInOneWindow)
{
    const RegistryCleanup cleanup;
    const TempFolder parent;
    makeFolder(parent.at(L"2004"));
    makeFolder(parent.at(L"2005 год"));
    ASSERT_EQ(switchFolderCommand(exeUnderTest(), false).kind, FolderCommandSwitch::Kind::Added);
    CLSID verbClass = {};
    ASSERT_EQ(
        CLSIDFromString(registryText(kFolderCommandKey + L"\\DropTarget", L"Clsid").value_or(L"").c_str(), &verbClass),
        S_OK);
    // Windows shows the user's classes in HKEY_CLASSES_ROOT before the machine's; Wine's
    // COM looks only at the machine's, where the test copies the class's server.
    const std::wstring serverLine = registryText(kSelectionClassKey + L"\\LocalServer32").value_or(L"");
    SHSetValueW(HKEY_LOCAL_MACHINE, (kSelectionClassKey + L"\\LocalServer32").c_str(), nullptr, REG_SZ,
                serverLine.c_str(), static_cast<DWORD>((serverLine.size() + 1) * sizeof(wchar_t)));
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    IDataObject* selection = shellSelection(parent.path(), {L"2004", L"2005 год"});
    ASSERT_TRUE(selection);
    IDropTarget* target = nullptr;
    ASSERT_EQ(CoCreateInstance(verbClass, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&target)), S_OK);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(selection, MK_LBUTTON, {}, &effect), S_OK);
    EXPECT_EQ(target->Drop(selection, MK_LBUTTON, {}, &effect), S_OK);
    target->Release();
    selection->Release();

    const HWND main = waitForWindow(L"QuenmarkMain");
    // The first main window of all, and none after it.
    EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"QuenmarkMain", nullptr), main);
    EXPECT_FALSE(FindWindowExW(nullptr, main, L"QuenmarkMain", nullptr));
    EXPECT_TRUE(text(GetDlgItem(main, txtWorkFolder)).starts_with(L"2 папки: " + parent.at(L"2004") + L";"));
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    const HANDLE server = OpenProcess(SYNCHRONIZE, FALSE, process);
    press(GetDlgItem(main, txtWorkFolder), VK_ESCAPE);
    EXPECT_EQ(WaitForSingleObject(server, 20000), WAIT_OBJECT_0);
    CloseHandle(server);
    CoUninitialize();
}

// The 32-bit exe may use the 4 GiB a 64-bit Windows gives it, as the 64-bit one may:
// the flag in the file header's characteristics, read as plain bytes.
TEST(Quenmark, IsLargeAddressAware)
{
    const std::string exe = readFile(exeUnderTest());
    std::uint32_t header = 0;
    ASSERT_GE(exe.size(), 0x40u);
    std::memcpy(&header, exe.data() + 0x3C, sizeof header);
    ASSERT_GE(exe.size(), header + 24u);
    std::uint16_t characteristics = 0;
    std::memcpy(&characteristics, exe.data() + header + 22, sizeof characteristics); // after "PE\0\0" and 18 bytes
    EXPECT_TRUE(characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}
