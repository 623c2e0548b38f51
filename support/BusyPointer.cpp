#include "support/BusyPointer.h"

#include <windows.h>

namespace {
int busyCount = 0;
}

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

bool BusyPointer::active()
{
    return busyCount > 0;
}

void BusyPointer::apply()
{
    SetCursor(LoadCursorW(nullptr, active() ? IDC_WAIT : IDC_ARROW));
}
