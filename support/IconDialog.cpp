#include "support/IconDialog.h"

#include "support/SystemFunction.h"

bool IconDialog::show()
{
    // Older Windows export the dialog by its ordinal alone; every one has ordinal 62,
    // with a path buffer of MAX_PATH wide characters.
    using PickIconFunction = int WINAPI(HWND, PWSTR, UINT, int*);
    const auto pickIcon = systemFunction<PickIconFunction>(L"shell32.dll", MAKEINTRESOURCEA(62));
    if (!pickIcon)
        return false;
    wchar_t file[MAX_PATH] = {};
    // A longer path cannot be handed over; the dialog then starts from its own choice.
    if (icon.file.size() < MAX_PATH)
        icon.file.copy(file, MAX_PATH - 1);
    int index = icon.index;
    if (!pickIcon(owner, file, MAX_PATH, &index))
        return false;
    icon = {file, index};
    return true;
}
