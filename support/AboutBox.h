#pragma once
#include "support/AppInfo.h"

#include <windows.h>

#include <string>
#include <utility>

// The "about" window: program name and version from the application's information,
// a text, a picture (an icon resource of the exe; null for the application's icon)
// and an author credit, in a box modal to its owner. One instance serves the run. The
// text and the picture belong to the component's fixed interface; the program passes
// none.
class AboutBox {
public:
    // titlePrefix: what the box's title says before the program's name.
    explicit AboutBox(std::wstring titlePrefix = L"") : titlePrefix_(std::move(titlePrefix)) {}
    virtual ~AboutBox() = default;
    virtual void show(HWND owner, const AppInfo& app, const std::wstring& text, const wchar_t* picture,
                      const std::wstring& credit);

private:
    std::wstring titlePrefix_;
};
