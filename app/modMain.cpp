#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "folderview/Win32FolderFiles.h"
#include "preview/PictureLoader.h"
#include "resources/Texts.h"
#include "support/tsRegisterAppPath.h"
#include "support/tsWindow.h"
#include "undo/Win32RecordStore.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        // Where the program was started from is a courtesy to the shell's Run box.
        (void)tsRegisterAppPath();
        InitCommonControls();
        bool inIde = false;
        HWND appWindow = nullptr;
        // Without its icon the program still works.
        if (tsIsInIDE(inIde) && !inIde && tsGetThunderMainHandle(appWindow))
            (void)tsSetWindowResIconAll(appWindow, L"A_MAIN");

        SystemComponents components({kAboutTitle, kErrorNumber, kMainCaption});
        Win32FolderFiles files;
        Win32RecordStore store;
        frmMain form(components, files, store);
        if (!form.show(commandArguments(GetCommandLineW())))
            return 1;
        const int exitCode = runMessageLoop(form);
        PictureLoader::stopDecoding();
        return exitCode;
    } catch (...) {
        PictureLoader::stopDecoding();
        MessageBoxW(nullptr, kInternalStop, kMainCaption, MB_OK | MB_ICONSTOP);
        return 1;
    }
}
