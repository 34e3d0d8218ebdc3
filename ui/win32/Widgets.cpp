// The widget classes' registration, the timers, and how a widget finds its
// host and its state.
#include "ui/win32/Widgets.h"

#include <string>

#include "ui/win32/WidgetClasses.h"

namespace cc {
namespace {

// Timers: invisible windows that own a system timer.
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

WidgetHost* HostOf(HWND widget) {
    HWND root = GetAncestor(widget, GA_ROOT);
    return root ? reinterpret_cast<WidgetHost*>(GetWindowLongPtrW(root, GWLP_USERDATA)) : nullptr;
}

WidgetState* StateOf(HWND widget) {
    WidgetHost* host = HostOf(widget);
    return host ? host->widgetState(widget) : nullptr;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace cc
