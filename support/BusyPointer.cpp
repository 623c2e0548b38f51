#include "support/BusyPointer.h"

#include <windows.h>

namespace {

int busyCount = 0;

void apply()
{
    SetCursor(LoadCursorW(nullptr, busyCount > 0 ? IDC_WAIT : IDC_ARROW));
}

} // namespace

BusyPointer::BusyPointer()
{
    ++busyCount;
    apply();
}

BusyPointer::~BusyPointer()
{
    --busyCount;
    apply();
}

bool BusyPointer::setCursor()
{
    if (busyCount == 0)
        return false;
    apply();
    return true;
}
