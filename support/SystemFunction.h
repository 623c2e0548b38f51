#pragma once
#include <windows.h>

#include <string>

// A library of the system, loaded from the system folder by its full path: a bare name
// is looked for first in the exe's folder, where a file of that name (a Downloads
// folder holds anything) would run its code in the program. Its own imports are looked
// for beside it, in the system folder, too. Windows XP keeps GDI+ only among its
// side-by-side assemblies; a name that the activation context redirects there is loaded
// by its bare name, which the loader then takes from the assembly, never from the exe's
// folder. Null when neither holds it.
inline HMODULE systemLibrary(const wchar_t* library)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + library;
    if (const HMODULE loaded = GetModuleHandleW(path.c_str()))
        return loaded;
    if (const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
        return module;
    ACTCTX_SECTION_KEYED_DATA redirection = {};
    redirection.cbSize = sizeof redirection;
    if (!FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, library, &redirection))
        return nullptr;
    return LoadLibraryW(library);
}

// A function of a system DLL that the program loads when it is first needed. The
// dialogs' libraries are loaded this way: imported at start-up they made the program
// start a third slower and use a quarter more memory for dialogs most runs never open.
// A loaded library stays for the rest of the run, since the shell's dialogs leave
// threads and COM objects behind that must not outlive their code.
template <typename Function> Function* systemFunction(const wchar_t* library, const char* name)
{
    const HMODULE module = systemLibrary(library);
    if (!module)
        return nullptr;
    // Through a plain function pointer: the one cast compilers accept between function types.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
