#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "folderview/Win32FolderFiles.h"
#include "support/tsRegisterAppPath.h"
#include "support/tsWindow.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        tsRegisterAppPath();
        InitCommonControls();
        bool inIde = false;
        tsIsInIDE(inIde);
        HWND appWindow = nullptr;
        if (!inIde && tsGetThunderMainHandle(appWindow))
            tsSetWindowResIconAll(appWindow, L"A_MAIN");

        SystemComponents components;
        Win32FolderFiles files;
        frmMain form(components, files);
        if (!form.show(commandArguments(GetCommandLineW())))
            return 1;
        return runMessageLoop(form);
    } catch (...) {
        MessageBoxW(nullptr, L"Внутренняя ошибка программы: работа прервана.", kMainCaption, MB_OK | MB_ICONSTOP);
        return 1;
    }
}
