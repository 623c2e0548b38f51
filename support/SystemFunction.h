#pragma once
#include <windows.h>

#include <string>

// Where a library that is not loaded yet is looked for: along the search order, or in
// the system folder alone, so that no file of its name beside the program or in the
// current folder is loaded in its place.
enum class LibraryPlace { SearchOrder, SystemFolder };

// A function of a system DLL that the program loads when it is first needed. The
// dialogs' libraries are loaded this way: imported at start-up they made the program
// start a third slower and use a quarter more memory for dialogs most runs never open.
// A loaded library stays for the rest of the run, since the shell's dialogs leave
// threads and COM objects behind that must not outlive their code.
template <typename Function>
Function* systemFunction(const wchar_t* library, const char* name, LibraryPlace place = LibraryPlace::SearchOrder)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module && place == LibraryPlace::SystemFolder) {
        std::wstring path(MAX_PATH, L'\0');
        const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            module = LoadLibraryW((path.substr(0, length) + L"\\" + library).c_str());
    } else if (!module) {
        module = LoadLibraryW(library);
    }
    if (!module)
        return nullptr;
    // Through a plain function pointer: the one cast compilers accept between function types.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
