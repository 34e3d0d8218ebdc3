#include "ui/win32/Widgets.h"

#include <windowsx.h>

#include <cstdlib>
#include <string>

#include "resources/ResourceIds.h"
#include "ui/Scale.h"
#include "ui/win32/Pictures.h"

namespace cc {
namespace {

RECT ClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

// A length of the design at the window's DPI.
int Scaled(WidgetHost& host, int designPixels) { return ScaleValue(designPixels, host.dpi()); }

void FillWhite(HDC dc, const RECT& r) {
    SetDCBrushColor(dc, RGB(255, 255, 255));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Asks the parent to draw its own background into our DC, shifted so that it
// lines up: what a transparent label shows through.
void PaintParentBackground(HWND hwnd, HDC dc) {
    HWND parent = GetParent(hwnd);
    POINT origin{0, 0};
    MapWindowPoints(hwnd, parent, &origin, 1);
    POINT old{};
    SetWindowOrgEx(dc, origin.x, origin.y, &old);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

// Notifications of the standard controls inside a panel go to the main window.
bool IsForwarded(UINT message) {
    switch (message) {
        case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
            return true;
        default:
            return false;
    }
}

bool SetCursorFor(HWND hwnd) {
    WidgetHost* host = HostOf(hwnd);
    HCURSOR cursor = host ? host->cursorFor(hwnd) : nullptr;
    if (!cursor) return false;
    SetCursor(cursor);
    return true;
}

// What every drawn widget answers alike: it paints all of itself (also into
// a parent's DC for a transparent child), repaints when its text or state
// changes, and may show a pointer of its own.
template <void (*Paint)(HWND, HDC)>
bool HandleDrawing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            Paint(hwnd, dc);
            EndPaint(hwnd, &ps);
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            Paint(hwnd, reinterpret_cast<HDC>(wParam));
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

// --- Panels: picture boxes, group boxes and tab pages ---

// A press hands the mouse to the system's move tracking, whose own message
// loop may eat what would make the next press a WM_LBUTTONDBLCLK. So a press
// soon after the last one, close to it, on the same panel is a double-click too.
bool IsSecondClick(HWND hwnd, UINT message, LPARAM lParam) {
    static HWND lastPanel = nullptr;
    static DWORD lastTime = 0;
    static POINT lastPoint{};
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    DWORD now = GetMessageTime();
    bool second = message == WM_LBUTTONDBLCLK ||
                  (hwnd == lastPanel && now - lastTime <= GetDoubleClickTime() &&
                   std::abs(point.x - lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                   std::abs(point.y - lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2);
    // A double-click ends the pair: a third press starts a new one.
    lastPanel = second ? nullptr : hwnd;
    lastTime = now;
    lastPoint = point;
    return second;
}

// A tab page draws its tab control's border: one line along each edge of the
// tab control that the page reaches (all but the strip's), so that the
// design's white strips over those edges hide exactly those lines.
void PaintPageBorder(HWND page, HDC dc) {
    RECT mine = ClientRect(page), outer = ClientRect(GetParent(page));
    MapWindowPoints(page, GetParent(page), reinterpret_cast<POINT*>(&mine), 2);
    RECT r = ClientRect(page);
    SetDCBrushColor(dc, GetSysColor(COLOR_BTNSHADOW));
    auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    RECT line;
    if (mine.left == outer.left) FillRect(dc, &(line = {0, 0, 1, r.bottom}), brush);
    if (mine.top == outer.top) FillRect(dc, &(line = {0, 0, r.right, 1}), brush);
    if (mine.right == outer.right) FillRect(dc, &(line = {r.right - 1, 0, r.right, r.bottom}), brush);
    if (mine.bottom == outer.bottom) FillRect(dc, &(line = {0, r.bottom - 1, r.right, r.bottom}), brush);
}

void PaintPanel(HWND hwnd, HDC dc) {
    RECT r = ClientRect(hwnd);
    FillWhite(dc, r);
    WidgetHost* host = HostOf(hwnd);
    WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
    if (!state) {
        PaintPageBorder(hwnd, dc);
        return;
    }
    if (!state->spec) return;
    const ControlSpec& spec = *state->spec;
    if (state->picture) {
        PictureFit fit = spec.fit == PictureFit::None ? PictureFit::ActualSize : spec.fit;
        host->pictures().draw(dc, state->picture, 0, 0, r.right, r.bottom, fit);
    }
    if (spec.kind == ControlKind::GroupBox) {
        HGDIOBJ oldFont = SelectObject(dc, host->font(spec.font));
        std::wstring caption = WindowText(hwnd);
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        RECT frame{0, extent.cy / 2, r.right, r.bottom};
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!caption.empty()) {
            const int indent = Scaled(*host, 8);
            RECT text{indent, 0, indent + extent.cx + Scaled(*host, 4), extent.cy};
            FillWhite(dc, text);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ToColorRef(spec.textColour));
            text.left += Scaled(*host, 2);
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
        }
        SelectObject(dc, oldFont);
    }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwarded(message)) return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    if (LRESULT result; HandleDrawing<PaintPanel>(hwnd, message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (WidgetHost* host = HostOf(hwnd))
                host->widgetEvent(hwnd, IsSecondClick(hwnd, message, lParam) ? Event::DoubleClicked
                                                                            : Event::LeftButtonPressed);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- Labels, transparent labels and hyperlinks ---

bool IsLabel(HWND hwnd) {
    wchar_t name[32]{};
    GetClassNameW(hwnd, name, 32);
    return lstrcmpW(name, kLabelClass) == 0;
}

// Labels of the design overlap by a few pixels (a row's caption reaches into
// its result). Where a label lies over a lower one it draws that one's text
// too, so that no label's background hides another label's text.
void PaintLowerLabels(HWND hwnd, HDC dc) {
    RECT mine{};
    GetWindowRect(hwnd, &mine);
    for (HWND below = GetWindow(hwnd, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
        RECT theirs{}, overlap{};
        GetWindowRect(below, &theirs);
        if (!IsWindowVisible(below) || !IsLabel(below) || !IntersectRect(&overlap, &mine, &theirs)) continue;
        int saved = SaveDC(dc);
        OffsetRect(&overlap, -mine.left, -mine.top);
        IntersectClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
        SetWindowOrgEx(dc, mine.left - theirs.left, mine.top - theirs.top, nullptr);
        SendMessageW(below, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        RestoreDC(dc, saved);
    }
}

// A label whose text changed is redrawn also where labels above it show it.
void InvalidateUpperLabels(HWND hwnd) {
    RECT mine{};
    GetWindowRect(hwnd, &mine);
    for (HWND above = GetWindow(hwnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT theirs{}, overlap{};
        GetWindowRect(above, &theirs);
        if (IsLabel(above) && IntersectRect(&overlap, &mine, &theirs)) InvalidateRect(above, nullptr, FALSE);
    }
}

void PaintLabel(HWND hwnd, HDC dc) {
    RECT r = ClientRect(hwnd);
    WidgetHost* host = HostOf(hwnd);
    WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
    if (!state || !state->spec) return;
    const ControlSpec& spec = *state->spec;
    if (spec.kind == ControlKind::TransparentLabel) {
        PaintParentBackground(hwnd, dc);
    } else {
        FillWhite(dc, r);
        PaintLowerLabels(hwnd, dc);
    }

    std::wstring text = WindowText(hwnd);
    HGDIOBJ oldFont = SelectObject(dc, host->font(spec.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(spec.textColour));
    UINT format = DT_NOPREFIX | ((spec.flags & kMultiLine) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER));
    if (spec.flags & kBordered) InflateRect(&r, -Scaled(*host, 2), -Scaled(*host, 2));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, oldFont);
    if (ShowsFocusCue(hwnd)) DrawFocusRect(dc, &r);
}

bool IsHyperlink(HWND hwnd) {
    WidgetHost* host = HostOf(hwnd);
    WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
    return state && state->spec && state->spec->kind == ControlKind::HyperlinkBox;
}

bool IsFirstPress(LPARAM keyData) { return (keyData & (1 << 30)) == 0; }   // not the key's repeat

// What the dialog manager may take of a key for itself: Enter is the
// control's own, as a click is.
LRESULT DialogCodeFor(LPARAM message, LRESULT others) {
    const auto* msg = reinterpret_cast<const MSG*>(message);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
    return others;
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT || message == WM_SHOWWINDOW) InvalidateUpperLabels(hwnd);
    if (LRESULT result; HandleDrawing<PaintLabel>(hwnd, message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_LBUTTONDOWN:
            if (WidgetHost* host = HostOf(hwnd)) host->widgetEvent(hwnd, Event::LeftButtonPressed);
            return 0;
        // A hyperlink takes the focus from the keyboard; Enter or space on it
        // acts as a press of the mouse does.
        case WM_GETDLGCODE:
            if (!IsHyperlink(hwnd)) break;
            return DialogCodeFor(lParam, 0);
        case WM_KEYDOWN:
            if (!IsHyperlink(hwnd) || (wParam != VK_RETURN && wParam != VK_SPACE) || !IsFirstPress(lParam)) break;
            if (WidgetHost* host = HostOf(hwnd)) host->widgetEvent(hwnd, Event::LeftButtonPressed);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- Graphic buttons and image buttons ---

void PaintButton(HWND hwnd, HDC dc) {
    RECT r = ClientRect(hwnd);
    WidgetHost* host = HostOf(hwnd);
    WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
    if (!state || !state->spec) return;
    const ControlSpec& spec = *state->spec;
    PictureCache& pictures = host->pictures();

    if (spec.kind == ControlKind::GraphicButton) {
        // Its three looks follow each other: normal, hot, pressed.
        int look = state->pressed ? 2 : state->hot ? 1 : 0;
        host->paintBackdrop(hwnd, dc);
        pictures.drawKeyed(dc, spec.picture + look, 0, 0, r.right, r.bottom);
        const int inset = Scaled(*host, 2);
        if (ShowsFocusCue(hwnd)) DrawFocusRect(dc, &(r = {inset, inset, r.right - inset, r.bottom - inset}));
        return;
    }

    // An image button: the shared skin (its second look when hot or pressed)
    // and its caption; one with a picture of its own (按钮11) shows that
    // picture and its caption instead of the skin.
    FillWhite(dc, r);
    bool lit = (state->hot || state->pressed) && IsWindowEnabled(hwnd);
    RECT text = r;
    if (spec.picture == IDB_SKIN_NORMAL) {
        host->pictures().drawKeyed(dc, lit ? IDB_SKIN_HOT : IDB_SKIN_NORMAL, 0, 0, r.right, r.bottom);
    } else {
        const int side = Scaled(*host, 48), left = Scaled(*host, 6);
        int top = (r.bottom - side) / 2;
        pictures.draw(dc, spec.picture, left, top, side, side, PictureFit::ActualSize);
        text.left = left + side;
        if (lit) DrawEdge(dc, &r, state->pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (state->pressed) OffsetRect(&text, 1, 1);
    std::wstring caption = WindowText(hwnd);
    HGDIOBJ oldFont = SelectObject(dc, host->font(spec.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(hwnd) ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    const int inset = Scaled(*host, 3);
    if (ShowsFocusCue(hwnd)) DrawFocusRect(dc, &(r = {inset, inset, r.right - inset, r.bottom - inset}));
}

void SetButtonLook(HWND hwnd, bool hot, bool pressed) {
    WidgetHost* host = HostOf(hwnd);
    WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
    if (!state || (state->hot == hot && state->pressed == pressed)) return;
    state->hot = hot;
    state->pressed = pressed;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Click(HWND hwnd) {
    if (WidgetHost* host = HostOf(hwnd)) host->widgetEvent(hwnd, Event::Clicked);
}

bool PointerInside(HWND hwnd, LPARAM lParam) {
    RECT r = ClientRect(hwnd);
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&r, p) != FALSE;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result; HandleDrawing<PaintButton>(hwnd, message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            bool captured = GetCapture() == hwnd;
            SetButtonLook(hwnd, PointerInside(hwnd, lParam), captured && PointerInside(hwnd, lParam));
            return 0;
        }
        case WM_MOUSELEAVE:
            SetButtonLook(hwnd, false, false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(hwnd);
            SetButtonLook(hwnd, true, true);
            return 0;
        case WM_LBUTTONUP: {
            bool wasCaptured = GetCapture() == hwnd;
            bool inside = PointerInside(hwnd, lParam);
            if (wasCaptured) ReleaseCapture();
            SetButtonLook(hwnd, inside, false);
            // The click comes last: its handler may run for a long time.
            if (wasCaptured && inside) Click(hwnd);
            return 0;
        }
        case WM_CAPTURECHANGED:
            SetButtonLook(hwnd, false, false);
            return 0;
        // From the keyboard, as Windows' own push buttons: Enter clicks at
        // once; space shows the button pressed and clicks when let go. A
        // held key's repeats click nothing.
        case WM_GETDLGCODE:
            return DialogCodeFor(lParam, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
        case WM_KEYDOWN: {
            WidgetHost* host = HostOf(hwnd);
            WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
            if (!state || !IsFirstPress(lParam) || GetCapture() == hwnd) break;
            if (wParam == VK_RETURN) {
                Click(hwnd);
                return 0;
            }
            if (wParam != VK_SPACE) break;
            state->spaceHeld = true;
            SetButtonLook(hwnd, true, true);
            return 0;
        }
        case WM_KEYUP: {
            WidgetHost* host = HostOf(hwnd);
            WidgetState* state = host ? host->widgetState(hwnd) : nullptr;
            if (wParam != VK_SPACE || !state || !state->spaceHeld) break;
            state->spaceHeld = false;
            SetButtonLook(hwnd, false, false);
            Click(hwnd);
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            WidgetHost* host = HostOf(hwnd);
            if (WidgetState* state = host ? host->widgetState(hwnd) : nullptr; state && state->spaceHeld) {
                state->spaceHeld = false;   // the focus went elsewhere: no click
                SetButtonLook(hwnd, false, false);
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- Timers: invisible windows that own a system timer ---

LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (WidgetHost* host = HostOf(hwnd)) host->widgetEvent(hwnd, Event::Tick);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style, LPCWSTR cursor) {
    WNDCLASSEXW wc{sizeof wc};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace

void RegisterWidgetClasses(HINSTANCE instance) {
    Register(instance, kPanelClass, PanelProc, CS_DBLCLKS, IDC_ARROW);
    Register(instance, kLabelClass, LabelProc, 0, IDC_ARROW);
    Register(instance, kButtonClass, ButtonProc, 0, IDC_ARROW);
    Register(instance, kTimerClass, TimerProc, 0, IDC_ARROW);
}

bool ShowsFocusCue(HWND widget) {
    // The window's own state: WM_CHANGEUISTATE sets it there, and a common
    // control in between need not pass its WM_UPDATEUISTATE on.
    HWND root = GetAncestor(widget, GA_ROOT);
    return GetFocus() == widget && !(SendMessageW(root, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

WidgetHost* HostOf(HWND widget) {
    HWND root = GetAncestor(widget, GA_ROOT);
    return root ? reinterpret_cast<WidgetHost*>(GetWindowLongPtrW(root, GWLP_USERDATA)) : nullptr;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace cc
