#pragma once
// The common controls library, never imported: its start-up would run before
// the program's first line, while the program's own folder is still searched
// for what it loads (uxtheme.dll, for one). It is loaded by name once only
// the system folder is searched: the manifest's side-by-side dependency then
// gives version 6 from the system's store (WinSxS), which is looked in before
// any folder, and what it loads in turn comes from the system folder.

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/Handles.h"

namespace cc::comctl {

// Loads the library, once, and registers the classes `classes` (ICC_*).
// False when it cannot be loaded.
bool Load(DWORD classes);

// As the library's functions of the same names (AddIconTo: ImageList_AddIcon); they
// fail where it is not loaded.
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int AddIconTo(HIMAGELIST list, HICON icon);
BOOL ImageList_Destroy(HIMAGELIST list);

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { comctl::ImageList_Destroy(h); }   // not ::ImageList_Destroy, which ADL also finds
};

}  // namespace cc::comctl

namespace cc {
using UniqueHimagelist = UniqueResource<comctl::ImageListTraits>;
}  // namespace cc
