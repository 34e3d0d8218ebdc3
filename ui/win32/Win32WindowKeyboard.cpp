// Keyboard use of the main window: Tab and Shift+Tab through the visible page
// in the design order, tab strips included; Ctrl+Tab, Ctrl+Shift+Tab,
// Ctrl+PgDn and Ctrl+PgUp on the innermost tab control that holds the focus;
// the rest through the dialog manager, which leaves arrows, space and
// letters to the lists and the edit boxes.
#include "ui/win32/CommonControls.h"
#include "ui/win32/GdiOwners.h"
#include "ui/win32/Win32Window.h"

#include <commctrl.h>

namespace cc {
namespace {

bool Down(int key) { return GetKeyState(key) < 0; }

bool TakesPart(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

}  // namespace

void Win32Window::dispatch(MSG& msg) {
    bool ours = !closed_ && (msg.hwnd == window_ || IsChild(window_, msg.hwnd));
    if (ours && (navigationKey(msg) || IsDialogMessageW(window_, &msg))) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool Win32Window::navigationKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
        case VK_TAB:
            if (Down(VK_MENU)) return false;
            if (!Down(VK_CONTROL)) {
                auto wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
                if (wants & (DLGC_WANTTAB | DLGC_WANTMESSAGE)) return false;
            }
            break;
        case VK_NEXT:
        case VK_PRIOR:
            if (!Down(VK_CONTROL) || Down(VK_MENU)) return false;
            break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
            break;
        default:
            return false;
    }
    // From the first key that moves the focus on, the focus shows, as in Windows' dialog boxes.
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (msg.wParam == VK_TAB && Down(VK_CONTROL)) switchPage(Down(VK_SHIFT) ? -1 : 1);
    else if (msg.wParam == VK_TAB) moveFocus(Down(VK_SHIFT));
    else if (msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR) switchPage(msg.wParam == VK_NEXT ? 1 : -1);
    else return false;   // arrows: the lists, strips and radio groups take them
    return true;
}

int Win32Window::controlOf(HWND hwnd) const {
    for (; hwnd && hwnd != window_; hwnd = GetParent(hwnd))
        if (int index = indexOf(hwnd); index >= 0) return index;
    return -1;
}

// The design order is the catalogue's: among the controls that show, every
// tab control comes before what its pages hold.
HWND Win32Window::nextTabStop(HWND from, bool backwards) const {
    const int count = static_cast<int>(controls_.size());
    const int start = controlOf(from);
    for (int step = 1; step <= count; ++step) {
        int i = start < 0 ? (backwards ? count - step : step - 1) : ((start + (backwards ? -step : step)) % count + count) % count;
        if (i != start && TakesPart(controls_[i].hwnd)) return controls_[i].hwnd;
    }
    return nullptr;
}

void Win32Window::moveFocus(bool backwards) {
    HWND next = nextTabStop(GetFocus(), backwards);
    if (!next) return;
    SetFocus(next);
    // An edit box reached by Tab has its text selected, as in a dialog box.
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
}

// The page changes as a click on its tab changes it, with the same event.
// The focus goes to the strip, where the next Ctrl+Tab finds it again.
void Win32Window::switchPage(int step) {
    int tabs = -1;
    for (int i = controlOf(GetFocus()); i >= 0 && tabs < 0; i = controlOf(GetParent(controls_[i].hwnd)))
        if (Controls()[i].kind == ControlKind::TabControl) tabs = i;
    for (int i = 0; tabs < 0 && i < static_cast<int>(controls_.size()); ++i)   // else the outer strip
        if (Controls()[i].kind == ControlKind::TabControl) tabs = i;
    if (tabs < 0) return;
    Control& c = controls_[tabs];
    const int count = static_cast<int>(c.pages.size());
    const int current = static_cast<int>(SendMessageW(c.hwnd, TCM_GETCURSEL, 0, 0));
    SetFocus(c.hwnd);
    SendMessageW(c.hwnd, TCM_SETCURSEL, ((current + step) % count + count) % count, 0);
    pageChanged(tabs);
}

void Win32Window::releaseFocus(HWND leaving) {
    HWND focus = GetFocus();
    if (!focus || (focus != leaving && !IsChild(leaving, focus))) return;
    HWND next = nextTabStop(leaving, false);
    SetFocus(next ? next : window_);
}

// A tab control that never takes the focus on a click draws none when the
// keyboard gives it one: the strip draws the rectangle on its current tab.
LRESULT CALLBACK Win32Window::TabStripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR) {
    auto currentTab = [hwnd] {
        RECT r{};
        SendMessageW(hwnd, TCM_GETITEMRECT, SendMessageW(hwnd, TCM_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(&r));
        return r;
    };
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            RECT r = currentTab();
            InvalidateRect(hwnd, &r, FALSE);
            break;
        }
        case WM_PAINT: {
            if (wParam || !ShowsFocusCue(hwnd)) break;
            RECT r = currentTab();
            InvalidateRect(hwnd, &r, FALSE);   // drawn afresh, so the rectangle goes on once
            LRESULT result = comctl::DefSubclassProc(hwnd, message, wParam, lParam);
            UniqueHdcWindow dc(hwnd);
            InflateRect(&r, -3, -3);
            DrawFocusRect(dc.get(), &r);
            return result;
        }
    }
    return comctl::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace cc
