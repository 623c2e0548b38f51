#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

// A failure as the system reports it: its number and the system's description.
struct ErrorInfo {
    std::uint32_t number = 0;
    std::wstring description;
};

// The error with the system's description of it.
ErrorInfo errorInfo(std::uint32_t number);
// "label N: description." as the user reads it; label names an error in the user's language.
std::wstring errorText(const ErrorInfo& error, const std::wstring& label);

// Shows a failure to the user: the message text, then the error's number and
// description, in a message box. One instance serves the whole run.
class ErrorReporter {
public:
    // errorLabel: as for errorText; title: the box's title when the exe names none.
    explicit ErrorReporter(std::wstring errorLabel = L"", std::wstring title = L"")
        : errorLabel_(std::move(errorLabel)),
          title_(std::move(title))
    {
    }
    virtual ~ErrorReporter() = default;
    // style: the message box's MB_ICON* flags. owner: null for the thread's active
    // window, so that the box is modal to the window the user was working in.
    // response: the button that closed the box. The program passes no owner and reads
    // no response; both belong to the component's fixed interface.
    virtual void report(const ErrorInfo& error, UINT style, HWND owner, const std::wstring& message,
                        std::int16_t& response);

private:
    std::wstring errorLabel_, title_;
};
