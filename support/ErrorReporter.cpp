#include "support/ErrorReporter.h"
#include "support/tsText.h"

#include "support/AppInfo.h"

ErrorInfo errorInfo(std::uint32_t number)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, number, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!description.empty()
           && (description.back() == L'\n' || description.back() == L'\r' || description.back() == L' '
               || description.back() == L'.'))
        description.pop_back();
    return {number, description};
}

std::wstring errorText(const ErrorInfo& error, const std::wstring& label)
{
    return label + tsDecimal(error.number) + (error.description.empty() ? L"." : L": " + error.description + L".");
}

void ErrorReporter::report(const ErrorInfo& error, UINT style, HWND owner, const std::wstring& message,
                           std::int16_t& response)
{
    const std::wstring text = message + L"\r\n\r\n" + errorText(error, errorLabel_);
    const std::wstring title = readAppInfo().title;
    response = static_cast<std::int16_t>(MessageBoxW(owner ? owner : GetActiveWindow(), text.c_str(),
                                                     title.empty() ? title_.c_str() : title.c_str(), MB_OK | style));
}
