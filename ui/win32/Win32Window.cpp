#include "ui/win32/Win32Window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"
#include "resources/ResourceIds.h"
#include "ui/Frame.h"
#include "ui/Scale.h"
#include "ui/win32/CommonControls.h"
#include "ui/win32/InputBox.h"

namespace cc {
namespace {

using K = ControlKind;

constexpr UINT kTimerId = 1;
constexpr UINT kItemSelectedMessage = WM_APP + 1;   // wParam: control index
constexpr UINT kCreateTheRestMessage = WM_APP + 2;   // the controls after the first frame
constexpr int kMaxItemText = 1024;   // the disk table's cells
constexpr DWORD kShowChangesEveryMs = 250;   // what long work changed (title, lists, passing captions)

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
        case K::CheckedListBox:
            return {WC_LISTVIEWW,
                    LVS_REPORT | LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
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

std::wstring ListViewText(HWND list, int item, int column) {
    std::wstring buffer(kMaxItemText, L'\0');
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = buffer.data();
    lv.cchTextMax = kMaxItemText;
    auto length = SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv));
    buffer.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    return buffer;
}

void SetListViewState(HWND list, int item, UINT state, UINT mask) {
    LVITEMW lv{};
    lv.stateMask = mask;
    lv.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance) : instance_(instance) {}

Win32Window::~Win32Window() {
    if (window_ && !closed_) {
        DestroyWindow(window_);
        // Destroyed by its owner, not closed by the user: no loop is left to end.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    for (HIMAGELIST list : tabIcons_)
        if (list) comctl::ImageList_Destroy(list);
    if (white_) DeleteObject(white_);
}

bool Win32Window::create() {
    comctl::Load(ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);
    RegisterWidgetClasses(instance_);

    white_ = CreateSolidBrush(RGB(255, 255, 255));

    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = white_;
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
        controls_[i].widget.spec = &Controls()[i];
        controls_[i].widget.picture = Controls()[i].picture;
        if (InFirstFrame(Controls()[i])) first.push_back(i);
    }
    return createControls(first);
}

// Only what the first frame shows is made before it is painted: under Wine
// a control costs a millisecond or more, and the other pages' take longer
// than painting the frame. They come before any input is taken, so the
// keyboard, the mouse and assistive technology find every control whenever
// the user can reach it; a handler that asks for one sooner has them all
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
    if (!(spec.flags & kHidden) && spec.kind != K::Timer) style |= WS_VISIBLE;
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
            SendMessageW(c.hwnd, BM_SETCHECK, (spec.flags & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case K::ProgressBar:
            SendMessageW(c.hwnd, PBM_SETRANGE32, 0, 100);
            break;
        case K::ComboBox:   // a drop-down combo box takes its text only once it exists
            SetWindowTextW(c.hwnd, Widen(spec.text).c_str());
            break;
        case K::CheckedListBox: {
            SendMessageW(c.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
            RECT client{};
            GetClientRect(c.hwnd, &client);
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = client.right - VerticalScrollBarWidth(dpi_);
            SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
            // The marks are ours: the control asks for them, and clicks on them come here first.
            SendMessageW(c.hwnd, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
            comctl::SetWindowSubclass(c.hwnd, CheckedListProc, 0, reinterpret_cast<DWORD_PTR>(this));
            if (spec.name == "选择列表框3")
                for (auto item : JunkPatternItems()) addItem(spec.name, item);
            syncCount(c);
            break;
        }
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

void Win32Window::runMessageLoop() {
    MSG msg;
    while (!quit_) {
        showChanges();   // a handler has returned
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        dispatch(msg);
    }
}

void Win32Window::processPendingMessages() {
    // A walk comes here once per folder. Under Wine each look at the queue
    // is a round trip to the server, costing as much as listing a small
    // folder; looking every few milliseconds still lets every message in
    // sooner than anybody could notice.
    const DWORD now = GetTickCount();
    if (now - lastPump_ < 10) return;
    lastPump_ = now;
    if (now - lastShown_ >= kShowChangesEveryMs) showChanges();
    MSG msg;
    while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;   // the outer loop ends when the handler returns
            break;
        }
        dispatch(msg);
    }
}

void Win32Window::keepAnswering() {
    const DWORD now = GetTickCount();
    if (now - lastAnswer_ < 20) return;
    lastAnswer_ = now;
    // Sent messages (the system's "are you there", another program's
    // questions) are answered inside this call; no posted message is removed.
    MSG msg;
    answeringOnly_ = true;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    // Then what needs painting, and nothing else: a paint validates what it
    // drew, so the loop ends; the bound keeps a control that never validates
    // from holding the work up.
    for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT); ++i)
        DispatchMessageW(&msg);
    answeringOnly_ = false;
}

// What a handler changed shows at the pumps: the checked lists learn their
// counts and repaint, and the title last asked for is set. A walk pumps once
// per folder; repainting a few times a second is all the eye can follow.
void Win32Window::showChanges() {
    lastShown_ = GetTickCount();
    if (pendingTitle_ && !closed_) SetWindowTextW(window_, Widen(*pendingTitle_).c_str());
    pendingTitle_.reset();
    for (Control& c : controls_) {
        if (c.changed) syncCount(c);
        if (c.pendingCaption) {
            SetWindowTextW(c.hwnd, c.pendingCaption->c_str());
            c.pendingCaption.reset();
            c.passingShownAt = lastShown_;
        }
    }
}

// Raised once the list has finished with the click or key that caused it, so
// that the handler sees the check mark as it now stands.
void Win32Window::postItemSelected(int index) {
    Control& c = controls_[index];
    if (c.selectionPosted) return;
    c.selectionPosted = true;
    PostMessageW(window_, kItemSelectedMessage, static_cast<WPARAM>(index), 0);
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
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case kCreateTheRestMessage:
            if (!closed_) createTheRest();
            return 0;
        case kItemSelectedMessage:
            if (wParam < controls_.size() && !closed_) {
                controls_[wParam].selectionPosted = false;
                raise(Controls()[wParam].name, Event::ItemSelected);
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            auto dc = reinterpret_cast<HDC>(wParam);
            int index = indexOf(reinterpret_cast<HWND>(lParam));
            SetBkColor(dc, RGB(255, 255, 255));
            if (index >= 0) SetTextColor(dc, ToColorRef(Controls()[index].textColour));
            return reinterpret_cast<LRESULT>(white_);
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

LRESULT Win32Window::onNotify(const NMHDR& header) {
    int index = indexOf(header.hwndFrom);
    if (index < 0 || closed_) return 0;
    const ControlSpec& spec = Controls()[index];
    if (spec.kind == K::TabControl && header.code == TCN_SELCHANGE) {
        pageChanged(index);
    } else if (spec.kind == K::CheckedListBox) {
        if (header.code == NM_CLICK || header.code == NM_DBLCLK) {
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) postItemSelected(index);
        } else if (header.code == LVN_GETDISPINFOW) {
            giveItem(reinterpret_cast<const NMLVDISPINFOW&>(header));
        } else if (header.code == LVN_KEYDOWN) {
            WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
            if (key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END ||
                key == VK_PRIOR || key == VK_NEXT)
                postItemSelected(index);
        }
    }
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

Win32Window::Control* Win32Window::find(std::string_view name) {
    if (closed_) return nullptr;
    int index = FindControl(name);
    if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
    if (!controls_[index].hwnd) createTheRest();
    return controls_[index].hwnd && !closed_ ? &controls_[index] : nullptr;   // the rest may have failed
}

// Reading a control that is still to come makes it: the window is whole to its readers.
const Win32Window::Control* Win32Window::find(std::string_view name) const {
    return const_cast<Win32Window*>(this)->find(name);
}

int Win32Window::indexOf(HWND hwnd) const {
    if (!hwnd) return -1;
    int index = GetDlgCtrlID(hwnd) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size()) || controls_[index].hwnd != hwnd) return -1;
    return index;
}

bool Win32Window::isCheckedList(const Control& c) const { return c.widget.spec->kind == K::CheckedListBox; }

// --- WidgetHost ---

WidgetState* Win32Window::widgetState(HWND widget) {
    int index = indexOf(widget);
    return index < 0 ? nullptr : &controls_[index].widget;
}

void Win32Window::widgetEvent(HWND widget, Event event) {
    int index = indexOf(widget);
    if (index < 0 || closed_) return;
    const std::string_view name = Controls()[index].name;
    raise(name, event);
    // The frame maximises or restores on exactly these two.
    if ((name == "图形按钮_最大化" && event == Event::Clicked) || (name == "图片框_上中" && event == Event::DoubleClicked)) {
        maximised_ = !maximised_;
        nameMaximiseButton();
    }
}

void Win32Window::paintBackdrop(HWND widget, HDC dc) {
    const Control* bar = find("图片框_上中");
    if (!bar) return;
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

// --- geometry and simple properties ---

Rect Win32Window::rect(std::string_view control) const {
    if (closed_) return {};
    if (control == kMainWindowName) {
        RECT r{};
        GetWindowRect(window_, &r);
        return {UnscaleValue(r.left, dpi_), UnscaleValue(r.top, dpi_), UnscaleValue(r.right - r.left, dpi_),
                UnscaleValue(r.bottom - r.top, dpi_)};
    }
    const Control* c = find(control);
    if (!c) return {};
    RECT r{};
    GetWindowRect(c->hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(c->hwnd), reinterpret_cast<POINT*>(&r), 2);
    Rect design = UnscaleRect({r.left - c->origin.x, r.top - c->origin.y, r.right - r.left, r.bottom - r.top}, dpi_);
    // The design height is the edit part's; the window reaches down for its list.
    if (c->widget.spec->kind == K::ComboBox) design.height = c->widget.spec->rect.height;
    return design;
}

void Win32Window::setRect(std::string_view control, Rect rect) {
    if (closed_) return;
    if (control == kMainWindowName) {
        SetWindowPos(window_, nullptr, ScaleValue(rect.left, dpi_), ScaleValue(rect.top, dpi_),
                     ScaleValue(rect.width, dpi_), ScaleValue(rect.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (const Control* c = find(control)) {
        const RECT r = pixelRect(*c, rect);
        SetWindowPos(c->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::string Win32Window::caption(std::string_view control) const {
    const Control* c = find(control);
    if (!c) return {};
    return Narrow(c->pendingCaption ? *c->pendingCaption : WindowText(c->hwnd));
}

void Win32Window::setCaption(std::string_view control, std::string_view text) {
    Control* c = find(control);
    if (!c) return;
    c->pendingCaption.reset();
    SetWindowTextW(c->hwnd, Widen(text).c_str());
}

void Win32Window::setPassingCaption(std::string_view control, std::string_view text) {
    Control* c = find(control);
    if (!c) return;
    const DWORD now = GetTickCount();
    if (c->passingShownAt && now - *c->passingShownAt < kShowChangesEveryMs) {
        c->pendingCaption = Widen(text);
        return;
    }
    setCaption(control, text);
    c->passingShownAt = now;
}

bool Win32Window::visible(std::string_view control) const {
    const Control* c = find(control);
    return c && (GetWindowLongPtrW(c->hwnd, GWL_STYLE) & WS_VISIBLE);
}

void Win32Window::setVisible(std::string_view control, bool visible) {
    const Control* c = find(control);
    if (!c) return;
    if (!visible) releaseFocus(c->hwnd);
    ShowWindow(c->hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Window::disabled(std::string_view control) const {
    const Control* c = find(control);
    return c && !IsWindowEnabled(c->hwnd);
}

void Win32Window::setDisabled(std::string_view control, bool disabled) {
    const Control* c = find(control);
    if (!c) return;
    if (disabled) releaseFocus(c->hwnd);   // else the focus is nowhere and keys reach nothing
    EnableWindow(c->hwnd, !disabled);
}

bool Win32Window::checked(std::string_view control) const {
    const Control* c = find(control);
    return c && SendMessageW(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::setChecked(std::string_view control, bool checked) {
    if (const Control* c = find(control)) SendMessageW(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- lists ---
// A checked list is a virtual list view: its items live here and the control
// asks for those it shows. Adding, checking and removing then cost next to
// nothing at any count, and so does its memory; the control learns the count
// at the pumps (showChanges), which is all anybody can see of it.

int Win32Window::itemCount(std::string_view list) const {
    const Control* c = find(list);
    if (!c) return 0;
    if (isCheckedList(*c)) return static_cast<int>(c->items.size());
    return static_cast<int>(SendMessageW(c->hwnd, LB_GETCOUNT, 0, 0));
}

std::string Win32Window::itemText(std::string_view list, int index) const {
    const Control* c = find(list);
    if (!c || index < 0 || index >= itemCount(list)) return {};
    if (isCheckedList(*c)) return c->items[static_cast<size_t>(index)].text;
    auto length = SendMessageW(c->hwnd, LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(c->hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    return Narrow(text);
}

int Win32Window::addItem(std::string_view list, std::string_view text) {
    Control* c = find(list);
    if (!c) return -1;
    if (!isCheckedList(*c))
        return static_cast<int>(SendMessageW(c->hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str())));
    c->items.push_back({std::string(text), false});
    c->changed = true;
    return static_cast<int>(c->items.size()) - 1;
}

void Win32Window::removeItem(std::string_view list, int index) {
    const Control* c = find(list);
    if (!c || index < 0 || index >= itemCount(list)) return;
    if (isCheckedList(*c)) removeItems(list, {index});
    else SendMessageW(c->hwnd, LB_DELETESTRING, index, 0);
}

void Win32Window::removeItems(std::string_view list, const std::vector<int>& positions) {
    Control* c = find(list);
    if (!c || positions.empty()) return;
    if (!isCheckedList(*c)) {
        ControlLayer::removeItems(list, positions);
        return;
    }
    // One pass keeps what stays; the current item moves up with it.
    int current = currentItem(list), newCurrent = -1;
    size_t kept = 0, next = 0;
    for (size_t i = 0; i < c->items.size(); ++i) {
        while (next < positions.size() && positions[next] < static_cast<int>(i)) ++next;
        if (next < positions.size() && positions[next] == static_cast<int>(i)) continue;
        if (static_cast<int>(i) == current) newCurrent = static_cast<int>(kept);
        if (kept != i) c->items[kept] = std::move(c->items[i]);
        ++kept;
    }
    c->items.resize(kept);
    syncCount(*c);
    SetListViewState(c->hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (newCurrent >= 0) SetListViewState(c->hwnd, newCurrent, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void Win32Window::clearItems(std::string_view list) {
    Control* c = find(list);
    if (!c) return;
    if (!isCheckedList(*c)) {
        SendMessageW(c->hwnd, LB_RESETCONTENT, 0, 0);
        return;
    }
    c->items.clear();
    syncCount(*c);
}

bool Win32Window::itemChecked(std::string_view list, int index) const {
    const Control* c = find(list);
    if (!c || !isCheckedList(*c) || index < 0 || index >= itemCount(list)) return false;
    return c->items[static_cast<size_t>(index)].checked;
}

void Win32Window::setItemChecked(std::string_view list, int index, bool checked) {
    Control* c = find(list);
    if (!c || !isCheckedList(*c) || index < 0 || index >= itemCount(list)) return;
    c->items[static_cast<size_t>(index)].checked = checked;
    c->changed = true;
}

void Win32Window::setAllItemsChecked(std::string_view list, bool checked) {
    Control* c = find(list);
    if (!c || !isCheckedList(*c)) return;
    for (ListItem& item : c->items) item.checked = checked;
    c->changed = true;
}

int Win32Window::currentItem(std::string_view list) const {
    const Control* c = find(list);
    if (!c) return -1;
    if (isCheckedList(*c)) {
        int current = static_cast<int>(SendMessageW(c->hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        return current < static_cast<int>(c->items.size()) ? current : -1;
    }
    auto current = SendMessageW(c->hwnd, LB_GETCURSEL, 0, 0);
    return current == LB_ERR ? -1 : static_cast<int>(current);
}

void Win32Window::setCurrentItem(std::string_view list, int index) {
    Control* c = find(list);
    if (!c) return;
    if (!isCheckedList(*c)) {
        SendMessageW(c->hwnd, LB_SETCURSEL, index, 0);
        return;
    }
    syncCount(*c);
    SetListViewState(c->hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0 && index < static_cast<int>(c->items.size())) {
        SetListViewState(c->hwnd, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SendMessageW(c->hwnd, LVM_ENSUREVISIBLE, index, FALSE);
    }
}

void Win32Window::syncCount(Control& c) {
    c.changed = false;
    SendMessageW(c.hwnd, LVM_SETITEMCOUNT, c.items.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    InvalidateRect(c.hwnd, nullptr, FALSE);   // marks may have changed too
}

// The user's click on a box, or the space key: the mark changes here, and the
// item becomes the current one, as a click on its text would make it.
void Win32Window::toggleItem(int index, int item) {
    Control& c = controls_[index];
    if (item < 0 || item >= static_cast<int>(c.items.size())) return;
    c.items[static_cast<size_t>(item)].checked = !c.items[static_cast<size_t>(item)].checked;
    SetListViewState(c.hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetListViewState(c.hwnd, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(c.hwnd, LVM_REDRAWITEMS, item, item);
    postItemSelected(index);
}

LRESULT CALLBACK Win32Window::CheckedListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32Window*>(data);
    int index = self->indexOf(hwnd);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            LVHITTESTINFO hit{};
            hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int item = static_cast<int>(SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (item < 0 || !(hit.flags & LVHT_ONITEMSTATEICON) || index < 0) break;
            SetFocus(hwnd);
            self->toggleItem(index, item);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam != VK_SPACE || index < 0) break;
            self->toggleItem(index, static_cast<int>(SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
            return 0;
        case WM_CHAR:
            if (wParam == L' ') return 0;   // not a search for a text starting with a space
            break;
    }
    return comctl::DefSubclassProc(hwnd, message, wParam, lParam);
}

void Win32Window::giveItem(const NMLVDISPINFOW& request) {
    int index = indexOf(request.hdr.hwndFrom);
    if (index < 0) return;
    const Control& c = controls_[index];
    LVITEMW& item = const_cast<LVITEMW&>(request.item);
    if (item.iItem < 0 || item.iItem >= static_cast<int>(c.items.size())) return;
    const ListItem& source = c.items[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::wstring text = Widen(source.text);
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(source.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

// --- report list view ---

int Win32Window::rowCount(std::string_view table) const {
    const Control* c = find(table);
    return c ? static_cast<int>(SendMessageW(c->hwnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<std::string> Win32Window::row(std::string_view table, int index) const {
    const Control* c = find(table);
    std::vector<std::string> cells;
    if (!c || index < 0 || index >= rowCount(table)) return cells;
    for (int column = 0; column < static_cast<int>(DiskTableColumns().size()); ++column)
        cells.push_back(Narrow(ListViewText(c->hwnd, index, column)));
    return cells;
}

void Win32Window::addRow(std::string_view table, const std::vector<std::string>& cells) {
    const Control* c = find(table);
    if (!c) return;
    int index = rowCount(table);
    for (size_t column = 0; column < cells.size(); ++column) {
        std::wstring text = Widen(cells[column]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.iSubItem = static_cast<int>(column);
        item.pszText = text.data();
        if (column == 0) index = static_cast<int>(SendMessageW(c->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        else SendMessageW(c->hwnd, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    }
}

void Win32Window::clearRows(std::string_view table) {
    if (const Control* c = find(table)) SendMessageW(c->hwnd, LVM_DELETEALLITEMS, 0, 0);
}

// --- pictures, bars, timers, tabs ---

int Win32Window::picture(std::string_view control) const {
    const Control* c = find(control);
    return c ? c->widget.picture : 0;
}

void Win32Window::setPicture(std::string_view control, int resourceId) {
    if (Control* c = find(control)) {
        c->widget.picture = resourceId;
        InvalidateRect(c->hwnd, nullptr, FALSE);
    }
}

int Win32Window::position(std::string_view bar) const {
    const Control* c = find(bar);
    return c ? static_cast<int>(SendMessageW(c->hwnd, PBM_GETPOS, 0, 0)) : 0;
}

void Win32Window::setPosition(std::string_view bar, int position) {
    if (const Control* c = find(bar)) SendMessageW(c->hwnd, PBM_SETPOS, position, 0);
}

int Win32Window::maximum(std::string_view bar) const {
    const Control* c = find(bar);
    return c ? static_cast<int>(SendMessageW(c->hwnd, PBM_GETRANGE, FALSE, 0)) : 0;
}

void Win32Window::setMaximum(std::string_view bar, int maximum) {
    if (const Control* c = find(bar)) SendMessageW(c->hwnd, PBM_SETRANGE32, 0, maximum);
}

int Win32Window::interval(std::string_view timer) const {
    const Control* c = find(timer);
    return c ? c->interval : 0;
}

void Win32Window::setInterval(std::string_view timer, int milliseconds) {
    Control* c = find(timer);
    if (!c) return;
    c->interval = std::max(milliseconds, 0);
    if (c->interval > 0) SetTimer(c->hwnd, kTimerId, static_cast<UINT>(c->interval), nullptr);
    else KillTimer(c->hwnd, kTimerId);
}

int Win32Window::currentTab(std::string_view tabs) const {
    const Control* c = find(tabs);
    return c ? static_cast<int>(SendMessageW(c->hwnd, TCM_GETCURSEL, 0, 0)) : 0;
}

void Win32Window::setCurrentTab(std::string_view tabs, int index) {
    const Control* c = find(tabs);
    if (!c || index < 0 || index >= static_cast<int>(c->pages.size())) return;
    SendMessageW(c->hwnd, TCM_SETCURSEL, index, 0);
    showPage(FindControl(tabs));
}

// --- the window ---

std::string Win32Window::windowTitle() const {
    if (closed_) return {};
    return pendingTitle_ ? *pendingTitle_ : Narrow(WindowText(window_));
}

// A walk names every folder in the title; only the title at a pump can be
// seen, and setting it is costly (the window manager hears of each), so it
// takes effect with the lists' repaints.
void Win32Window::setWindowTitle(std::string_view title) {
    if (!closed_) pendingTitle_ = std::string(title);
}

bool Win32Window::controlBox() const {
    return !closed_ && (GetWindowLongPtrW(window_, GWL_STYLE) & WS_SYSMENU);
}

void Win32Window::setControlBox(bool enabled) {
    if (closed_) return;
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    style = enabled ? (style | WS_SYSMENU) : (style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    SetWindowLongPtrW(window_, GWL_STYLE, style);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Win32Window::minimised() const { return !closed_ && IsIconic(window_); }

void Win32Window::setMinimised(bool minimised) {
    if (!closed_) ShowWindow(window_, minimised ? SW_MINIMIZE : SW_RESTORE);
}

Size Win32Window::screenSize() const {
    return {UnscaleValue(GetSystemMetrics(SM_CXSCREEN), dpi_), UnscaleValue(GetSystemMetrics(SM_CYSCREEN), dpi_)};
}

void Win32Window::startSystemTracking(int hitTestCode) {
    if (closed_) return;
    ReleaseCapture();
    SendMessageW(window_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hitTestCode), 0);
}

bool Win32Window::messageBox(std::string_view text, std::string_view caption, MessageKind kind) {
    if (closed_) return false;
    showChanges();   // the box's own loop repaints the window beneath it
    UINT style = kind == MessageKind::Ok ? MB_OK : (MB_OKCANCEL | MB_ICONINFORMATION);
    return MessageBoxW(window_, Widen(text).c_str(), Widen(caption).c_str(), style) == IDOK;
}

bool Win32Window::inputBox(std::string_view prompt, std::string_view caption, std::string& text) {
    if (closed_) return false;
    showChanges();
    auto typed = ShowInputBox(window_, Widen(prompt), Widen(caption), L"");
    if (!typed) return false;
    text = Narrow(*typed);
    return true;
}

void Win32Window::close() {
    if (!closed_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace cc
