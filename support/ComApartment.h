#pragma once
#include "support/SystemFunction.h"

#include <objbase.h>

// COM on this thread for as long as the object lives, as the shell's dialogs and its
// icon lookups ask of their callers; ole32 is loaded on first use.
class ComApartment {
public:
    ComApartment() : uninitialize_(systemFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize"))
    {
        const auto initialize = systemFunction<decltype(CoInitialize)>(L"ole32.dll", "CoInitialize");
        initialized_ = initialize && uninitialize_ && SUCCEEDED(initialize(nullptr));
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (initialized_)
            uninitialize_();
    }

private:
    decltype(CoUninitialize)* uninitialize_;
    bool initialized_ = false;
};
