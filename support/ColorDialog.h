#pragma once
#include <windows.h>

#include <cstdint>

// The system's colour dialog. Set the fields, then show(); a fresh object serves one
// choice.
class ColorDialog {
public:
    virtual ~ColorDialog() = default;

    HWND owner = nullptr;
    std::int32_t color = 0; // the starting colour in, the chosen one out (0x00BBGGRR)

    // True when the user confirmed a colour.
    virtual bool show();
};
