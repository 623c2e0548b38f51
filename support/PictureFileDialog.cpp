#include "support/PictureFileDialog.h"

#include "support/SystemFunction.h"

#include <cderr.h>
#include <commdlg.h>

#include <vector>

bool PictureFileDialog::show()
{
    const auto getOpenFileName = systemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    const auto extendedError = systemFunction<decltype(CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
    if (!getOpenFileName || !extendedError)
        return false;

    // The system wants the pairs separated by NULs and the list ended by two.
    std::wstring systemFilter = filter;
    for (wchar_t& c : systemFilter)
        if (c == L'|')
            c = L'\0';
    systemFilter.append(2, L'\0');

    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = systemFilter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = path.data();
    request.nMaxFile = static_cast<DWORD>(path.size());
    request.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    request.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | static_cast<DWORD>(options);

    fileName.copy(path.data(), path.size() - 1);
    BOOL confirmed = getOpenFileName(&request);
    // A typed picture text that is no valid file name would keep the dialog from
    // opening at all; open it without one instead.
    if (!confirmed && extendedError() == FNERR_INVALIDFILENAME) {
        path[0] = L'\0';
        confirmed = getOpenFileName(&request);
    }
    if (confirmed)
        fileName = path.data();
    return confirmed != FALSE;
}
