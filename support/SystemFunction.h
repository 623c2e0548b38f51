#pragma once
#include <windows.h>

// A function of a system DLL that the program loads when it is first needed. The
// dialogs' libraries are loaded this way: imported at start-up they made the program
// start a third slower and use a quarter more memory for dialogs most runs never open.
// A loaded library stays for the rest of the run, since the shell's dialogs leave
// threads and COM objects behind that must not outlive their code.
template <typename Function> Function* systemFunction(const wchar_t* library, const char* name)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module)
        module = LoadLibraryW(library);
    if (!module)
        return nullptr;
    // Through a plain function pointer: the one cast compilers accept between function types.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
