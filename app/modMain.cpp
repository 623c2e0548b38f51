#include "app/CommandLine.h"
#include "app/SelectionServer.h"
#include "app/frmMain.h"
#include "folderview/Win32FolderFiles.h"
#include "preview/PictureLoader.h"
#include "resources/Texts.h"
#include "support/tsFile.h"
#include "support/tsRegisterAppPath.h"
#include "undo/Win32JournalStore.h"

#include <windows.h>

#include <commctrl.h>

#include <optional>

namespace {

// Long enough for a busy machine: the shell calls the server as soon as COM has started it.
constexpr DWORD kSelectionWait = 30000;

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    chooseInterfaceLanguage();
    SystemComponents components({kAboutTitle.c_str(), kErrorNumber.c_str(), kMainCaption});
    try {
        // Started by COM for a selection of folders: the shell's drop comes before
        // anything else, and without one the copy ends unseen.
        const std::wstring arguments = commandArguments(GetCommandLineW());
        std::optional<SelectionServer> server;
        std::vector<std::wstring> folders;
        if (isServerStart(arguments)) {
            folders = server.emplace().receive(kSelectionWait);
            if (folders.empty() && server->damaged())
                components.tell(nullptr, kDropDamaged.c_str(), MB_ICONSTOP);
            if (folders.empty())
                return 0;
        } else {
            folders = severalFolders(arguments, tsIsFolder);
        }
        // Where the program was started from is a courtesy to the shell's Run box.
        (void)tsRegisterAppPath();
        InitCommonControls();

        Win32FolderFiles files;
        Win32JournalStore store;
        frmMain form(components, files, store);
        if (!form.show(folders.empty() ? arguments : L"\"" + folders.front() + L"\""))
            return 1;
        if (folders.size() > 1)
            form.addFolders(folders);
        const int exitCode = runMessageLoop(form);
        PictureLoader::stopDecoding();
        return exitCode;
    } catch (...) {
        PictureLoader::stopDecoding();
        components.tell(nullptr, kInternalStop.c_str(), MB_ICONSTOP);
        return 1;
    }
}
