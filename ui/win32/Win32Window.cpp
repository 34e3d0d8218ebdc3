// The window's messages: what the system and the controls tell it, and the
// widgets' questions to their host.
#include "ui/win32/Win32Window.h"

#include "ui/Frame.h"
#include "ui/Scale.h"

namespace cc {

using K = ControlKind;

Win32Window::Win32Window(HINSTANCE instance) : instance_(instance) {}

Win32Window::~Win32Window() {
    if (window_ && !closed_) {
        DestroyWindow(window_);
        // Destroyed by its owner, not closed by the user: no loop is left to end.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = hwnd;
        // Widgets find their host through the root window.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<WidgetHost*>(self)));
        SetPropW(hwnd, L"ChengchuanWindow", self);
    }
    auto* self = static_cast<Win32Window*>(GetPropW(hwnd, L"ChengchuanWindow"));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, L"ChengchuanWindow");
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            // A minimised window has no size to lay out.
            if (shown_ && !closed_ && wParam != SIZE_MINIMIZED) raise(kMainWindowName, Event::SizeChanged);
            return 0;
        case WM_COMMAND:
            if (lParam) onCommand(static_cast<int>(LOWORD(wParam)) - kFirstControlId, HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<NMHDR*>(lParam));
        case kCreateTheRestMessage:
            if (!closed_) createTheRest();
            return 0;
        case kItemSelectedMessage:
            if (wParam < controls_.size() && !closed_) {
                if (CheckedList* list = controls_[wParam].list.get()) list->selectionArrived();
                raise(Controls()[wParam].name, Event::ItemSelected);
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            auto dc = reinterpret_cast<HDC>(wParam);
            int index = indexOf(reinterpret_cast<HWND>(lParam));
            SetBkColor(dc, RGB(255, 255, 255));
            if (index >= 0) SetTextColor(dc, ToColorRef(Controls()[index].textColour));
            return reinterpret_cast<LRESULT>(white_.get());
        }
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {ScaleValue(kMinimumWindowSize.width, dpi_),
                                      ScaleValue(kMinimumWindowSize.height, dpi_)};
            return 0;
        }
        case WM_WINDOWPOSCHANGING:
            snapToDesignUnits(*reinterpret_cast<WINDOWPOS*>(lParam));
            break;
        case kDpiChangedMessage:
            changeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            // As a dialog box does: the focus comes back to where it was (after
            // a message box, another program), not to the window itself.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                savedFocus_ = focus && IsChild(window_, focus) ? focus : nullptr;
                return 0;
            }
            if (!HIWORD(wParam) && savedFocus_ && IsChild(window_, savedFocus_) && IsWindowVisible(savedFocus_) &&
                IsWindowEnabled(savedFocus_)) {
                SetFocus(savedFocus_);
                return 0;
            }
            break;
        case WM_UPDATEUISTATE: {
            LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
            if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) InvalidateRect(focus, nullptr, FALSE);
            return result;
        }
        case WM_SYSCOMMAND:
            if (systemCommand(wParam, lParam)) return 0;
            break;
        case WM_INITMENUPOPUP:
            if (reinterpret_cast<HMENU>(wParam) == GetSystemMenu(window_, FALSE))
                prepareSystemMenu(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_CLOSE:
            // Another program may send a close while a long task only answers:
            // it is handled, as input is, once the task is done.
            if (answeringOnly_) {
                PostMessageW(window_, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        case WM_DESTROY:
            closed_ = true;
            for (Control& c : controls_)
                if (c.interval) KillTimer(c.hwnd, kTimerId);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Window::onCommand(int index, int code) {
    if (index < 0 || index >= static_cast<int>(controls_.size()) || closed_) return;
    const ControlSpec& spec = Controls()[index];
    switch (spec.kind) {
        case K::CheckBox:
        case K::RadioButton:
        case K::PushButton:
            if (code == BN_CLICKED) raise(spec.name, Event::Clicked);
            break;
        case K::ListBox:
            if (code == LBN_SELCHANGE) raise(spec.name, Event::SelectionChanged);
            break;
        default:
            break;
    }
}

LRESULT Win32Window::onNotify(NMHDR& header) {
    int index = indexOf(header.hwndFrom);
    if (index < 0 || closed_) return 0;
    const ControlSpec& spec = Controls()[index];
    if (spec.kind == K::TabControl && header.code == TCN_SELCHANGE) pageChanged(index);
    else if (CheckedList* list = controls_[index].list.get()) list->notify(header);
    return 0;
}

void Win32Window::pageChanged(int tabsIndex) {
    showPage(tabsIndex);
    raise(Controls()[tabsIndex].name, Event::CurrentTabChanged);
}

void Win32Window::showPage(int tabsIndex) {
    createTheRest();   // every page's panel
    Control& c = controls_[tabsIndex];
    int current = static_cast<int>(SendMessageW(c.hwnd, TCM_GETCURSEL, 0, 0));
    // A page that hides keeps no focus: keys would go on reaching its
    // controls unseen. The strip takes it.
    HWND focus = GetFocus();
    for (int i = 0; i < static_cast<int>(c.pages.size()); ++i)
        if (i != current && focus && (focus == c.pages[i] || IsChild(c.pages[i], focus))) SetFocus(c.hwnd);
    for (int i = 0; i < static_cast<int>(c.pages.size()); ++i)
        ShowWindow(c.pages[i], i == current ? SW_SHOW : SW_HIDE);
}

// --- finding controls ---

int Win32Window::indexOf(std::string_view name) const {
    if (closed_) return -1;
    int index = FindControl(name);
    return index < static_cast<int>(controls_.size()) ? index : -1;
}

const Win32Window::Control* Win32Window::find(std::string_view name) const {
    int index = indexOf(name);
    return index < 0 ? nullptr : &controls_[index];
}

Win32Window::Control* Win32Window::find(std::string_view name) {
    int index = indexOf(name);
    return index < 0 ? nullptr : &controls_[index];
}

// Changing a control that is still to come makes it: the window is whole to those who change it.
Win32Window::Control* Win32Window::made(std::string_view name) {
    Control* c = find(name);
    if (c && !c->hwnd) createTheRest();
    return c && c->hwnd && !closed_ ? c : nullptr;   // the rest may have failed
}

CheckedList* Win32Window::checkedList(std::string_view name) {
    Control* c = find(name);
    return c ? c->list.get() : nullptr;
}

const CheckedList* Win32Window::checkedList(std::string_view name) const {
    const Control* c = find(name);
    return c ? c->list.get() : nullptr;
}

int Win32Window::indexOf(HWND hwnd) const {
    if (!hwnd) return -1;
    int index = GetDlgCtrlID(hwnd) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size()) || controls_[index].hwnd != hwnd) return -1;
    return index;
}

// --- WidgetHost ---

WidgetState* Win32Window::widgetState(HWND widget) {
    int index = indexOf(widget);
    return index < 0 ? nullptr : &controls_[index].widget;
}

void Win32Window::widgetEvent(HWND widget, Event event) {
    int index = indexOf(widget);
    if (index < 0 || closed_) return;
    raise(Controls()[index].name, event);
}

void Win32Window::paintBackdrop(HWND widget, HDC dc) {
    const Control* bar = find("图片框_上中");
    if (!bar || !bar->hwnd) return;
    RECT barRect{}, widgetRect{};
    GetWindowRect(bar->hwnd, &barRect);
    GetWindowRect(widget, &widgetRect);
    pictures_.draw(dc, bar->widget.picture, barRect.left - widgetRect.left, barRect.top - widgetRect.top,
                   barRect.right - barRect.left, barRect.bottom - barRect.top, PictureFit::Stretched);
}

HCURSOR Win32Window::cursorFor(HWND widget) {
    int index = indexOf(widget);
    if (index < 0) return nullptr;
    if (Controls()[index].kind == K::HyperlinkBox) return LoadCursorW(nullptr, IDC_HAND);
    if (const FramePiece* piece = FindFramePiece(Controls()[index].name))
        return LoadCursorW(nullptr, MAKEINTRESOURCEW(piece->cursor));
    return nullptr;
}

}  // namespace cc
