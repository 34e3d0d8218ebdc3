// Graphic buttons and image buttons.
#include <windowsx.h>

#include <string>

#include "resources/ResourceIds.h"
#include "ui/win32/GdiOwners.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/WidgetClasses.h"
#include "ui/win32/WidgetPainting.h"

namespace cc {
namespace {

void PaintButton(HWND hwnd, HDC dc) {
    RECT r = ClientRect(hwnd);
    WidgetState* state = StateOf(hwnd);
    if (!state || !state->spec) return;
    WidgetHost& host = *HostOf(hwnd);
    const ControlSpec& spec = *state->spec;
    PictureCache& pictures = host.pictures();

    if (spec.kind == ControlKind::GraphicButton) {
        // Its three looks follow each other: normal, hot, pressed.
        int look = state->pressed ? 2 : state->hot ? 1 : 0;
        host.paintBackdrop(hwnd, dc);
        pictures.drawKeyed(dc, spec.picture + look, 0, 0, r.right, r.bottom);
        const int inset = Scaled(host, 2);
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
        host.pictures().drawKeyed(dc, lit ? IDB_SKIN_HOT : IDB_SKIN_NORMAL, 0, 0, r.right, r.bottom);
    } else {
        const int side = Scaled(host, 48), left = Scaled(host, 6);
        int top = (r.bottom - side) / 2;
        pictures.draw(dc, spec.picture, left, top, side, side, PictureFit::ActualSize);
        text.left = left + side;
        if (lit) DrawEdge(dc, &r, state->pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (state->pressed) OffsetRect(&text, 1, 1);
    std::wstring caption = WindowText(hwnd);
    {
        const SelectedObject font(dc, host.font(spec.font));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled(hwnd) ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    const int inset = Scaled(host, 3);
    if (ShowsFocusCue(hwnd)) DrawFocusRect(dc, &(r = {inset, inset, r.right - inset, r.bottom - inset}));
}

void SetButtonLook(HWND hwnd, bool hot, bool pressed) {
    WidgetState* state = StateOf(hwnd);
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

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result; HandleDrawing(PaintButton, hwnd, message, wParam, lParam, result)) return result;
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
            WidgetState* state = StateOf(hwnd);
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
            WidgetState* state = StateOf(hwnd);
            if (wParam != VK_SPACE || !state || !state->spaceHeld) break;
            state->spaceHeld = false;
            SetButtonLook(hwnd, false, false);
            Click(hwnd);
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (WidgetState* state = StateOf(hwnd); state && state->spaceHeld) {
                state->spaceHeld = false;   // the focus went elsewhere: no click
                SetButtonLook(hwnd, false, false);
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace cc
