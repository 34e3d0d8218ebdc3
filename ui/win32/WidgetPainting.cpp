#include "ui/win32/WidgetPainting.h"

#include "ui/Scale.h"

namespace cc {
namespace {

bool SetCursorFor(HWND hwnd) {
    WidgetHost* host = HostOf(hwnd);
    HCURSOR cursor = host ? host->cursorFor(hwnd) : nullptr;
    if (!cursor) return false;
    SetCursor(cursor);
    return true;
}

}  // namespace

RECT ClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

int Scaled(WidgetHost& host, int designPixels) { return ScaleValue(designPixels, host.dpi()); }

void FillWhite(HDC dc, const RECT& r) {
    SetDCBrushColor(dc, RGB(255, 255, 255));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void PaintParentBackground(HWND hwnd, HDC dc) {
    HWND parent = GetParent(hwnd);
    POINT origin{0, 0};
    MapWindowPoints(hwnd, parent, &origin, 1);
    POINT old{};
    SetWindowOrgEx(dc, origin.x, origin.y, &old);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

bool HandleDrawing(void (*paint)(HWND, HDC), HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            paint(hwnd, dc);
            EndPaint(hwnd, &ps);
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            paint(hwnd, reinterpret_cast<HDC>(wParam));
            result = 0;
            return true;
        case WM_SETTEXT:
        case WM_ENABLE:
            result = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return true;
        case WM_SETCURSOR:
            if (LOWORD(lParam) != HTCLIENT || !SetCursorFor(hwnd)) return false;
            result = TRUE;
            return true;
    }
    return false;
}

bool ShowsFocusCue(HWND widget) {
    // The window's own state: WM_CHANGEUISTATE sets it there, and a common
    // control in between need not pass its WM_UPDATEUISTATE on.
    HWND root = GetAncestor(widget, GA_ROOT);
    return GetFocus() == widget && !(SendMessageW(root, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace cc
