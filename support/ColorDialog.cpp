#include "support/ColorDialog.h"

#include "support/SystemFunction.h"

#include <commdlg.h>

bool ColorDialog::show()
{
    const auto chooseColor = systemFunction<decltype(ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    if (!chooseColor)
        return false;
    COLORREF customColors[16];
    for (COLORREF& custom : customColors)
        custom = RGB(255, 255, 255);
    CHOOSECOLORW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.rgbResult = static_cast<COLORREF>(color);
    request.lpCustColors = customColors;
    request.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!chooseColor(&request))
        return false;
    color = static_cast<std::int32_t>(request.rgbResult);
    return true;
}
