// Making the window and its controls from the catalogue, in two steps: the
// first frame before the window is first painted, the rest as the first
// thing its message loop does.
#include "ui/win32/Win32Window.h"

#include <uxtheme.h>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"
#include "resources/ResourceIds.h"
#include "ui/Scale.h"

namespace cc {
namespace {

using K = ControlKind;

struct ClassAndStyle {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

// Whether the control shows in the first frame: above it lies no page of a
// tab control but the first, which every tab control shows at the start.
bool InFirstFrame(const ControlSpec& spec) {
    for (const ControlSpec* c = &spec; !c->parent.empty(); c = &Controls()[FindControl(c->parent)])
        if (c->page > 0) return false;
    return true;
}

bool HasChildren(const ControlSpec& spec) {
    for (const ControlSpec& other : Controls())
        if (other.parent == spec.name) return true;
    return false;
}

// Where the keyboard stops: everything a user can act on. Panels that hold
// controls, tab controls and their pages take part in the dialog manager's
// navigation as containers.
ClassAndStyle ClassFor(const ControlSpec& spec) {
    switch (spec.kind) {
        case K::PictureBox:
        case K::GroupBox: return {kPanelClass, WS_CLIPCHILDREN, HasChildren(spec) ? WS_EX_CONTROLPARENT : 0u};
        case K::GraphicButton:
        case K::ImageButton: return {kButtonClass, WS_TABSTOP, 0};
        case K::PushButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case K::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case K::RadioButton: return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
        case K::Label:
        case K::TransparentLabel: return {kLabelClass, (spec.flags & kBordered) ? WS_BORDER : 0u, 0};
        case K::HyperlinkBox: return {kLabelClass, WS_TABSTOP, 0};
        case K::EditBox: return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case K::ComboBox: return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
        case K::ListBox:
            return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case K::CheckedListBox: return {WC_LISTVIEWW, CheckedList::kStyle | WS_TABSTOP, CheckedList::kExStyle};
        case K::ReportListView:
            return {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case K::ProgressBar: return {PROGRESS_CLASSW, 0, 0};
        case K::Timer: return {kTimerClass, 0, 0};
        case K::TabControl: {
            // A click leaves the focus where it is, as before; the keyboard
            // reaches the strip, which then shows its own focus rectangle.
            DWORD style = WS_CLIPCHILDREN | WS_TABSTOP | TCS_FOCUSNEVER | TCS_FIXEDWIDTH;
            switch (FindTabSpec(spec.name)->placement) {
                case TabPlacement::Left: style |= TCS_VERTICAL | TCS_MULTILINE; break;
                case TabPlacement::Bottom: style |= TCS_BOTTOM; break;
                case TabPlacement::Top: break;
            }
            return {WC_TABCONTROLW, style, WS_EX_CONTROLPARENT};
        }
    }
    return {kPanelClass, 0, 0};
}

// A radio button after a control that is none starts a group, and so does
// the first control after a radio group: the arrow keys stay inside it.
bool StartsGroup(int index) {
    auto isRadio = [](const ControlSpec& spec) { return spec.kind == K::RadioButton; };
    if (index == 0) return false;
    const ControlSpec& spec = Controls()[index];
    const ControlSpec& before = Controls()[index - 1];
    bool radioBefore = isRadio(before) && before.parent == spec.parent;
    return isRadio(spec) != radioBefore;
}

}  // namespace

bool Win32Window::visibleWhenMade(const ControlSpec& spec) { return !(spec.flags & kHidden) && spec.kind != K::Timer; }

bool Win32Window::checkedWhenMade(const ControlSpec& spec) {
    return (spec.kind == K::CheckBox || spec.kind == K::RadioButton) && (spec.flags & kChecked);
}

bool Win32Window::create() {
    comctl::Load(ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);
    RegisterWidgetClasses(instance_);

    white_.reset(CreateSolidBrush(RGB(255, 255, 255)));

    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = white_.get();
    wc.lpszClassName = kMainWindowClass;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&wc);

    window_ = CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClass, Widen(kWindowTitle).c_str(),
                              WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                              instance_, this);
    if (!window_) return false;
    // Drawn at its display's DPI from the start.
    dpi_ = WindowDpi(window_);
    ScaledFonts(dpi_).swap(fonts_);
    pictures_.setDpi(dpi_);
    setRect(kMainWindowName, kWindowDesignRect);

    controls_.resize(Controls().size());
    std::vector<int> first;
    for (int i = 0; i < static_cast<int>(controls_.size()); ++i) {
        const ControlSpec& spec = Controls()[i];
        controls_[i].widget.spec = &spec;
        controls_[i].widget.picture = spec.picture;
        if (spec.kind == K::CheckedListBox)
            controls_[i].list = std::make_unique<CheckedList>(window_, static_cast<WPARAM>(i));
        if (InFirstFrame(spec)) first.push_back(i);
    }
    return createControls(first);
}

void Win32Window::show() {
    // Focus rectangles show or stay hidden until the first key press, as the
    // last input (a double-click or Enter in the shell) asks.
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    // The frame fits the window when it appears; laid out while hidden, no piece is drawn twice.
    shown_ = true;
    raise(kMainWindowName, Event::SizeChanged);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    // Ahead of any input in the queue; what was sent to the window meanwhile is answered first.
    PostMessageW(window_, kCreateTheRestMessage, 0, 0);
}

// Only what the first frame shows is made before it is painted: under Wine
// a control costs a millisecond or more, and the other pages' take longer
// than painting the frame. They come before any input is taken, so the
// keyboard, the mouse and assistive technology find every control whenever
// the user can reach it; a handler that changes one sooner has them all
// made at once.
void Win32Window::createTheRest() {
    if (restAsked_) return;
    restAsked_ = true;
    std::vector<int> rest;
    for (int i = 0; i < static_cast<int>(controls_.size()); ++i) {
        if (!controls_[i].hwnd) rest.push_back(i);
        else if (Controls()[i].kind == K::TabControl) createPanels(i);
    }
    // A window missing some of its controls is not one to work in: the
    // program ends, as it does when the first frame cannot be made.
    if (!createControls(rest)) DestroyWindow(window_);
}

// Siblings never fall into two batches: a page's controls come all at once.
bool Win32Window::createControls(const std::vector<int>& batch) {
    for (int index : batch)
        if (!createControl(index)) return false;
    stackSiblings(batch);
    nameControls(batch);
    return true;
}

bool Win32Window::createControl(int index) {
    const ControlSpec& spec = Controls()[index];
    Control& c = controls_[index];

    HWND parent = window_;
    if (!spec.parent.empty()) {
        const Control& p = controls_[FindControl(spec.parent)];
        // Page controls are placed from the tab control's corner (sizeTabStrip).
        parent = spec.page >= 0 ? p.pages[spec.page] : p.hwnd;
    }

    ClassAndStyle cls = ClassFor(spec);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | cls.style;
    if (visibleWhenMade(spec)) style |= WS_VISIBLE;
    if (spec.flags & kDisabled) style |= WS_DISABLED;
    if (StartsGroup(index)) style |= WS_GROUP;
    const RECT place = pixelRect(c, spec.rect);
    c.hwnd = CreateWindowExW(cls.exStyle, cls.windowClass, Widen(spec.text).c_str(), style, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance_,
                             nullptr);
    if (!c.hwnd) return false;
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(spec.font)), FALSE);

    switch (spec.kind) {
        case K::CheckBox:
        case K::RadioButton:
            SendMessageW(c.hwnd, BM_SETCHECK, checkedWhenMade(spec) ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case K::ProgressBar:
            SendMessageW(c.hwnd, PBM_SETRANGE32, 0, kProgressMaximumWhenMade);
            break;
        case K::ComboBox:   // a drop-down combo box takes its text only once it exists
            SetWindowTextW(c.hwnd, Widen(spec.text).c_str());
            break;
        case K::CheckedListBox:
            c.list->attach(c.hwnd, dpi_);
            break;
        case K::ReportListView: {
            SendMessageW(c.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
            int i = 0;
            for (const ColumnSpec& col : DiskTableColumns()) {
                std::wstring text = Widen(col.text);
                LVCOLUMNW column{};
                column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
                column.fmt = LVCFMT_LEFT;
                column.cx = ScaleValue(col.width, dpi_);
                column.pszText = text.data();
                SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, i++, reinterpret_cast<LPARAM>(&column));
            }
            break;
        }
        case K::TabControl:
            // Common controls 6 draws vertical and bottom tab strips with the
            // theme's top tabs, wrongly; those two strips draw in the classic
            // way, as Wine draws every strip.
            if (FindTabSpec(spec.name)->placement != TabPlacement::Top) {
                static const auto setTheme = SystemFunction<decltype(SetWindowTheme)>(L"uxtheme.dll", "SetWindowTheme");
                if (setTheme) setTheme(c.hwnd, L"", L"");
            }
            comctl::SetWindowSubclass(c.hwnd, TabStripProc, 0, reinterpret_cast<DWORD_PTR>(this));
            createTabPages(index);
            break;
        default:
            break;
    }
    return true;
}

void Win32Window::createTabPages(int index) {
    const ControlSpec& spec = Controls()[index];
    const TabSpec& tabs = *FindTabSpec(spec.name);
    Control& c = controls_[index];

    for (size_t i = 0; i < tabs.texts.size(); ++i) {
        std::wstring text = tabs.showText ? Widen(tabs.texts[i]) : std::wstring();
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text.data();
        item.iImage = tabs.icons.empty() ? -1 : static_cast<int>(i);
        SendMessageW(c.hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }

    c.pages.assign(tabs.texts.size(), nullptr);
    sizeTabStrip(index);
    createPanels(index);
}

// The panel of each page, over the strip's page area; before the first
// paint, only the current page's.
void Win32Window::createPanels(int tabsIndex) {
    Control& c = controls_[tabsIndex];
    const int current = static_cast<int>(SendMessageW(c.hwnd, TCM_GETCURSEL, 0, 0));
    const RECT& area = c.pageArea;
    for (int i = 0; i < static_cast<int>(c.pages.size()); ++i) {
        if (c.pages[i] || (i != current && !restAsked_)) continue;
        const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (i == current ? WS_VISIBLE : 0);
        c.pages[i] = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", style, area.left, area.top,
                                     area.right - area.left, area.bottom - area.top, c.hwnd, nullptr, instance_, nullptr);
    }
}

// Siblings listed earlier in the design lie above later ones, except that a
// transparent label, having no background, never hides a sibling; and on the
// window itself the title-bar buttons lie above the title bar, in their
// design order (the order in which the dialog manager and assistive
// technology meet them), and the content panel beneath the frame pieces.
void Win32Window::stackSiblings(const std::vector<int>& batch) {
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (auto i = batch.rbegin(); i != batch.rend(); ++i)
        SetWindowPos(controls_[*i].hwnd, HWND_TOP, 0, 0, 0, 0, flags);
    for (int i : batch)
        if (Controls()[i].kind == K::TransparentLabel) SetWindowPos(controls_[i].hwnd, HWND_BOTTOM, 0, 0, 0, 0, flags);
    for (auto i = batch.rbegin(); i != batch.rend(); ++i)
        if (Controls()[*i].kind == K::GraphicButton) SetWindowPos(controls_[*i].hwnd, HWND_TOP, 0, 0, 0, 0, flags);
    for (int i : batch)
        if (Controls()[i].name == "图片框2") SetWindowPos(controls_[i].hwnd, HWND_BOTTOM, 0, 0, 0, 0, flags);
}

}  // namespace cc
