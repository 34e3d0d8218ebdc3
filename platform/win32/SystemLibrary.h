#pragma once
// Libraries outside the system's known DLLs are never imported: a file of
// that name beside the program, in a folder any program of the user can
// write, would be taken first. They are loaded at run time from the system
// folder by their full path, and so are functions newer than NT 5.2.

#include <windows.h>

namespace cc {

// The system folder's library `dll` ("uxtheme.dll"), loaded by its full path,
// its own imports looked for there too, and kept for the process's life.
// Null where this Windows lacks it.
HMODULE SystemLibrary(const wchar_t* dll);

// The function `name` of a loaded library, as the type `Function`
// (decltype(SetWindowTheme)); null where it has none or is not loaded.
template <class Function>
Function* FunctionOf(HMODULE library, const char* name) {
    const FARPROC found = library ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
}

// The function `name` of the system's library `dll`; null where this Windows lacks either.
template <class Function>
Function* SystemFunction(const wchar_t* dll, const char* name) {
    return FunctionOf<Function>(SystemLibrary(dll), name);
}

// The running Windows' own version, whatever the program's manifest says
// (GetVersionEx does not tell it); false where it cannot be told.
bool RealWindowsVersion(RTL_OSVERSIONINFOW& version);

}  // namespace cc
