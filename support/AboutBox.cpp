#include "support/AboutBox.h"

void AboutBox::show(HWND owner, const AppInfo& app, const std::wstring& text, const wchar_t* picture,
                    const std::wstring& credit)
{
    std::wstring message = app.title + L" " + app.version;
    for (const std::wstring* line : {&app.description, &text, &app.copyright, &credit})
        if (!line->empty())
            message += L"\r\n\r\n" + *line;
    const std::wstring title = titlePrefix_ + app.title;

    MSGBOXPARAMSW params = {};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = GetModuleHandleW(nullptr);
    params.lpszText = message.c_str();
    params.lpszCaption = title.c_str();
    params.dwStyle = MB_OK | MB_USERICON;
    params.lpszIcon = picture ? picture : L"A_MAIN";
    MessageBoxIndirectW(&params);
}
