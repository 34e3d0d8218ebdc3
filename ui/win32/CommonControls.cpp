#include "ui/win32/CommonControls.h"

#include "platform/win32/SystemLibrary.h"

namespace cc::comctl {
namespace {

HMODULE Library() {
    static const HMODULE library = [] {
        // Where the system folder cannot be made the only one searched (XP,
        // Vista, 7 without its update), what the library loads by name is
        // taken from those already loaded: the system folder's, loaded first.
        SystemLibrary(L"uxtheme.dll");
        return LoadLibraryW(L"comctl32.dll");
    }();
    return library;
}

template <class Function>
Function* Named(const char* name) {
    return FunctionOf<Function>(Library(), name);
}

}  // namespace

bool Load(DWORD classes) {
    static const auto initialise = Named<decltype(::InitCommonControlsEx)>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof icc, classes};
    return initialise && initialise(&icc);
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static const auto subclass = Named<decltype(::SetWindowSubclass)>("SetWindowSubclass");
    return subclass && subclass(window, procedure, id, data);
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto next = Named<decltype(::DefSubclassProc)>("DefSubclassProc");
    return next ? next(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) {
    static const auto create = Named<decltype(::ImageList_Create)>("ImageList_Create");
    return create ? create(width, height, flags, initial, grow) : nullptr;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    static const auto add = Named<decltype(::ImageList_Add)>("ImageList_Add");
    return add ? add(list, image, mask) : -1;
}

int AddIconTo(HIMAGELIST list, HICON icon) {
    static const auto replace = Named<decltype(::ImageList_ReplaceIcon)>("ImageList_ReplaceIcon");
    return replace ? replace(list, -1, icon) : -1;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    static const auto destroy = Named<decltype(::ImageList_Destroy)>("ImageList_Destroy");
    return destroy && destroy(list);
}

}  // namespace cc::comctl
