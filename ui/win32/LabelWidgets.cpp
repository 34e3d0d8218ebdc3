// Labels, transparent labels and hyperlinks.
#include <string>

#include "ui/win32/GdiOwners.h"
#include "ui/win32/WidgetClasses.h"
#include "ui/win32/WidgetPainting.h"

namespace cc {
namespace {

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
    WidgetState* state = StateOf(hwnd);
    if (!state || !state->spec) return;
    WidgetHost& host = *HostOf(hwnd);
    const ControlSpec& spec = *state->spec;
    if (spec.kind == ControlKind::TransparentLabel) {
        PaintParentBackground(hwnd, dc);
    } else {
        FillWhite(dc, r);
        PaintLowerLabels(hwnd, dc);
    }

    std::wstring text = WindowText(hwnd);
    {
        const SelectedObject font(dc, host.font(spec.font));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ToColorRef(spec.textColour));
        UINT format = DT_NOPREFIX | ((spec.flags & kMultiLine) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER));
        if (spec.flags & kBordered) InflateRect(&r, -Scaled(host, 2), -Scaled(host, 2));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    }
    if (ShowsFocusCue(hwnd)) DrawFocusRect(dc, &r);
}

bool IsHyperlink(HWND hwnd) {
    WidgetState* state = StateOf(hwnd);
    return state && state->spec && state->spec->kind == ControlKind::HyperlinkBox;
}

}  // namespace

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT || message == WM_SHOWWINDOW) InvalidateUpperLabels(hwnd);
    if (LRESULT result; HandleDrawing(PaintLabel, hwnd, message, wParam, lParam, result)) return result;
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

}  // namespace cc
