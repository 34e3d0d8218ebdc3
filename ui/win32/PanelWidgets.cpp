// Panels: picture boxes, group boxes and tab pages.
#include <windowsx.h>

#include <cstdlib>
#include <string>

#include "ui/win32/GdiOwners.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/WidgetClasses.h"
#include "ui/win32/WidgetPainting.h"

namespace cc {
namespace {

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
    WidgetState* state = StateOf(hwnd);
    if (!state) {
        PaintPageBorder(hwnd, dc);
        return;
    }
    if (!state->spec) return;
    WidgetHost& host = *HostOf(hwnd);
    const ControlSpec& spec = *state->spec;
    if (state->picture) {
        PictureFit fit = spec.fit == PictureFit::None ? PictureFit::ActualSize : spec.fit;
        host.pictures().draw(dc, state->picture, 0, 0, r.right, r.bottom, fit);
    }
    if (spec.kind == ControlKind::GroupBox) {
        const SelectedObject font(dc, host.font(spec.font));
        std::wstring caption = WindowText(hwnd);
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        RECT frame{0, extent.cy / 2, r.right, r.bottom};
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!caption.empty()) {
            const int indent = Scaled(host, 8);
            RECT text{indent, 0, indent + extent.cx + Scaled(host, 4), extent.cy};
            FillWhite(dc, text);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ToColorRef(spec.textColour));
            text.left += Scaled(host, 2);
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

}  // namespace

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwarded(message)) return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    if (LRESULT result; HandleDrawing(PaintPanel, hwnd, message, wParam, lParam, result)) return result;
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

}  // namespace cc
