#pragma once
// Owners of GDI objects and device contexts, named as WIL names them: each
// deletes, releases or puts back what it holds exactly once.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace cc {

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};

struct MemoryDcTraits {   // CreateCompatibleDC
    using Handle = HDC;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteDC(h); }
};

struct IconTraits {   // CreateIconFromResourceEx, CreateIconIndirect, LoadImage without LR_SHARED
    using Handle = HICON;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};

using UniqueHbitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueHbrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueHfont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueHdc = UniqueResource<MemoryDcTraits>;
using UniqueHicon = UniqueResource<IconTraits>;

// A window's DC from GetDC (null: the screen's), released to it.
class UniqueHdcWindow {
public:
    explicit UniqueHdcWindow(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~UniqueHdcWindow() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    UniqueHdcWindow(const UniqueHdcWindow&) = delete;
    UniqueHdcWindow& operator=(const UniqueHdcWindow&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC, the one it replaced put back when this ends;
// nothing is put back where nothing was selected (no DC, no object, or a failure).
// Declared after the owners of the DC and the object, so that it ends first.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace cc
