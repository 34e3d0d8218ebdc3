// Start-up: the program state, the window, the message loop, exit code 0.
#include <windows.h>

#include "app/Program.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ProcessHardening.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/Win32Window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything loads a library: none is ever taken from the program's
    // folder or the current one, which any program of the user can write to.
    cc::SearchSystemFolderOnly();
    // An empty card reader, optical or floppy drive fails quietly instead of
    // raising the system's "no disk" box in the middle of a scan.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    cc::TrustOnlyAdministratorsLinks();
    // COM once for the user-interface thread: the pictures need it. Declared
    // first, it ends last, once the program, the window and their state are gone.
    const cc::ComApartment com;
    cc::Win32Platform win32;
    cc::Win32Window window(instance);
    if (window.create()) {
        cc::Program program(window, win32.platform);
        window.show();
        window.runMessageLoop();
    }
    return 0;
}
