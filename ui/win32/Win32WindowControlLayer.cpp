// The control layer over the real window. A control still to come (the rest
// after the first frame) answers from its design, which is what it shows
// once made; changing one makes it, with all the others still to come. A
// checked list's items are the list's own from the start: they need no control.
#include <algorithm>

#include "platform/win32/Utf.h"
#include "ui/Scale.h"
#include "ui/win32/InputBox.h"
#include "ui/win32/Win32Window.h"

namespace cc {
namespace {

constexpr int kMaxItemText = 1024;   // the disk table's cells

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

}  // namespace

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
    if (!c->hwnd) return designRect(*c, pixelRect(*c, c->widget.spec->rect));
    RECT r{};
    GetWindowRect(c->hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(c->hwnd), reinterpret_cast<POINT*>(&r), 2);
    return designRect(*c, r);
}

void Win32Window::setRect(std::string_view control, Rect rect) {
    if (closed_) return;
    if (control == kMainWindowName) {
        SetWindowPos(window_, nullptr, ScaleValue(rect.left, dpi_), ScaleValue(rect.top, dpi_),
                     ScaleValue(rect.width, dpi_), ScaleValue(rect.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (const Control* c = made(control)) {
        const RECT r = pixelRect(*c, rect);
        SetWindowPos(c->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::string Win32Window::caption(std::string_view control) const {
    const Control* c = find(control);
    if (!c) return {};
    if (!c->hwnd) return captionWhenMade(*c->widget.spec);
    return Narrow(c->pendingCaption ? *c->pendingCaption : WindowText(c->hwnd));
}

void Win32Window::setCaption(std::string_view control, std::string_view text) {
    Control* c = made(control);
    if (!c) return;
    c->pendingCaption.reset();
    SetWindowTextW(c->hwnd, Widen(text).c_str());
}

void Win32Window::setPassingCaption(std::string_view control, std::string_view text) {
    Control* c = made(control);
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
    if (!c) return false;
    if (!c->hwnd) return visibleWhenMade(*c->widget.spec);
    return GetWindowLongPtrW(c->hwnd, GWL_STYLE) & WS_VISIBLE;
}

void Win32Window::setVisible(std::string_view control, bool visible) {
    const Control* c = made(control);
    if (!c) return;
    if (!visible) releaseFocus(c->hwnd);
    ShowWindow(c->hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Window::disabled(std::string_view control) const {
    const Control* c = find(control);
    if (!c) return false;
    if (!c->hwnd) return c->widget.spec->flags & kDisabled;
    return !IsWindowEnabled(c->hwnd);
}

void Win32Window::setDisabled(std::string_view control, bool disabled) {
    const Control* c = made(control);
    if (!c) return;
    if (disabled) releaseFocus(c->hwnd);   // else the focus is nowhere and keys reach nothing
    EnableWindow(c->hwnd, !disabled);
}

bool Win32Window::checked(std::string_view control) const {
    const Control* c = find(control);
    if (!c) return false;
    if (!c->hwnd) return checkedWhenMade(*c->widget.spec);
    return SendMessageW(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::setChecked(std::string_view control, bool checked) {
    if (const Control* c = made(control)) SendMessageW(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- lists: a list box, or a checked list (CheckedList), whose items need no control ---

int Win32Window::itemCount(std::string_view list) const {
    if (const CheckedList* checked = checkedList(list)) return checked->count();
    const Control* c = find(list);
    return c && c->hwnd ? static_cast<int>(SendMessageW(c->hwnd, LB_GETCOUNT, 0, 0)) : 0;
}

std::string Win32Window::itemText(std::string_view list, int index) const {
    if (const CheckedList* checked = checkedList(list)) return checked->text(index);
    const Control* c = find(list);
    if (!c || index < 0 || index >= itemCount(list)) return {};
    auto length = SendMessageW(c->hwnd, LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(c->hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    return Narrow(text);
}

int Win32Window::addItem(std::string_view list, std::string_view text) {
    if (CheckedList* checked = checkedList(list)) return checked->add(text);
    const Control* c = made(list);
    if (!c) return -1;
    return static_cast<int>(SendMessageW(c->hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str())));
}

void Win32Window::removeItem(std::string_view list, int index) {
    if (index < 0 || index >= itemCount(list)) return;
    if (checkedList(list)) removeItems(list, {index});
    else if (const Control* c = made(list)) SendMessageW(c->hwnd, LB_DELETESTRING, index, 0);
}

void Win32Window::removeItems(std::string_view list, const std::vector<int>& positions) {
    if (positions.empty()) return;
    if (CheckedList* checked = checkedList(list)) checked->remove(positions);
    else if (made(list)) ControlLayer::removeItems(list, positions);
}

void Win32Window::clearItems(std::string_view list) {
    if (CheckedList* checked = checkedList(list)) checked->clear();
    else if (const Control* c = made(list)) SendMessageW(c->hwnd, LB_RESETCONTENT, 0, 0);
}

bool Win32Window::itemChecked(std::string_view list, int index) const {
    const CheckedList* checked = checkedList(list);
    return checked && checked->checked(index);
}

void Win32Window::setItemChecked(std::string_view list, int index, bool checked) {
    if (CheckedList* checkedOnes = checkedList(list)) checkedOnes->setChecked(index, checked);
}

void Win32Window::setAllItemsChecked(std::string_view list, bool checked) {
    if (CheckedList* checkedOnes = checkedList(list)) checkedOnes->setAllChecked(checked);
}

int Win32Window::currentItem(std::string_view list) const {
    if (const CheckedList* checked = checkedList(list)) return checked->current();
    const Control* c = find(list);
    if (!c || !c->hwnd) return -1;
    auto current = SendMessageW(c->hwnd, LB_GETCURSEL, 0, 0);
    return current == LB_ERR ? -1 : static_cast<int>(current);
}

// The selection is the control's: a checked list still to come is made for it.
void Win32Window::setCurrentItem(std::string_view list, int index) {
    const Control* c = made(list);
    if (!c) return;
    if (c->list) c->list->setCurrent(index);
    else SendMessageW(c->hwnd, LB_SETCURSEL, index, 0);
}

// --- report list view ---

int Win32Window::rowCount(std::string_view table) const {
    const Control* c = find(table);
    return c && c->hwnd ? static_cast<int>(SendMessageW(c->hwnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
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
    const Control* c = made(table);
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
    if (const Control* c = made(table)) SendMessageW(c->hwnd, LVM_DELETEALLITEMS, 0, 0);
}

// --- pictures, bars, timers, tabs ---

int Win32Window::picture(std::string_view control) const {
    const Control* c = find(control);
    return c ? c->widget.picture : 0;
}

void Win32Window::setPicture(std::string_view control, int resourceId) {
    if (Control* c = made(control)) {
        c->widget.picture = resourceId;
        InvalidateRect(c->hwnd, nullptr, FALSE);
    }
}

int Win32Window::position(std::string_view bar) const {
    const Control* c = find(bar);
    return c && c->hwnd ? static_cast<int>(SendMessageW(c->hwnd, PBM_GETPOS, 0, 0)) : 0;
}

void Win32Window::setPosition(std::string_view bar, int position) {
    if (const Control* c = made(bar)) SendMessageW(c->hwnd, PBM_SETPOS, position, 0);
}

int Win32Window::maximum(std::string_view bar) const {
    const Control* c = find(bar);
    if (!c) return 0;
    if (!c->hwnd) return c->widget.spec->kind == ControlKind::ProgressBar ? kProgressMaximumWhenMade : 0;
    return static_cast<int>(SendMessageW(c->hwnd, PBM_GETRANGE, FALSE, 0));
}

void Win32Window::setMaximum(std::string_view bar, int maximum) {
    if (const Control* c = made(bar)) SendMessageW(c->hwnd, PBM_SETRANGE32, 0, maximum);
}

int Win32Window::interval(std::string_view timer) const {
    const Control* c = find(timer);
    return c ? c->interval : 0;
}

void Win32Window::setInterval(std::string_view timer, int milliseconds) {
    Control* c = made(timer);
    if (!c) return;
    c->interval = std::max(milliseconds, 0);
    if (c->interval > 0) SetTimer(c->hwnd, kTimerId, static_cast<UINT>(c->interval), nullptr);
    else KillTimer(c->hwnd, kTimerId);
}

int Win32Window::currentTab(std::string_view tabs) const {
    const Control* c = find(tabs);
    return c && c->hwnd ? static_cast<int>(SendMessageW(c->hwnd, TCM_GETCURSEL, 0, 0)) : 0;
}

void Win32Window::setCurrentTab(std::string_view tabs, int index) {
    const Control* c = made(tabs);
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

void Win32Window::noteMaximised(bool maximised) {
    if (closed_) return;
    maximised_ = maximised;
    nameMaximiseButton();
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
    UINT style = kind == MessageKind::Ok       ? MB_OK
                 : kind == MessageKind::OkInfo ? MB_OK | MB_ICONINFORMATION
                                               : MB_OKCANCEL | MB_ICONINFORMATION;
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
