#include "ui/win32/CheckedList.h"

#include <windowsx.h>

#include "platform/win32/Utf.h"
#include "ui/win32/CommonControls.h"
#include "ui/win32/Dpi.h"

namespace cc {
namespace {

void SetListViewState(HWND list, int item, UINT state, UINT mask) {
    LVITEMW lv{};
    lv.stateMask = mask;
    lv.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

int ColumnWidth(HWND control, int dpi) {
    RECT client{};
    GetClientRect(control, &client);
    return client.right - VerticalScrollBarWidth(dpi);
}

}  // namespace

void CheckedList::attach(HWND control, int dpi) {
    control_ = control;
    SendMessageW(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = ColumnWidth(control_, dpi);
    SendMessageW(control_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    // The marks are ours: the control asks for them, and clicks on them come here first.
    SendMessageW(control_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    comctl::SetWindowSubclass(control_, Proc, 0, reinterpret_cast<DWORD_PTR>(this));
    showCount();
}

void CheckedList::fitColumn(int dpi) {
    if (control_) SendMessageW(control_, LVM_SETCOLUMNWIDTH, 0, ColumnWidth(control_, dpi));
}

std::string CheckedList::text(int item) const {
    return item >= 0 && item < count() ? items_[static_cast<size_t>(item)].text : std::string();
}

bool CheckedList::checked(int item) const {
    return item >= 0 && item < count() && items_[static_cast<size_t>(item)].checked;
}

int CheckedList::add(std::string_view text) {
    items_.push_back({std::string(text), false});
    changed_ = true;
    return count() - 1;
}

void CheckedList::setChecked(int item, bool checked) {
    if (item < 0 || item >= count()) return;
    items_[static_cast<size_t>(item)].checked = checked;
    changed_ = true;
}

void CheckedList::setAllChecked(bool checked) {
    for (Item& item : items_) item.checked = checked;
    changed_ = true;
}

void CheckedList::remove(const std::vector<int>& positions) {
    // One pass keeps what stays; the current item moves up with it.
    int current = this->current(), newCurrent = -1;
    size_t kept = 0, next = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        while (next < positions.size() && positions[next] < static_cast<int>(i)) ++next;
        if (next < positions.size() && positions[next] == static_cast<int>(i)) continue;
        if (static_cast<int>(i) == current) newCurrent = static_cast<int>(kept);
        if (kept != i) items_[kept] = std::move(items_[i]);
        ++kept;
    }
    items_.resize(kept);
    showCount();
    select(newCurrent);
}

void CheckedList::clear() {
    items_.clear();
    showCount();
}

int CheckedList::current() const {
    if (!control_) return -1;
    int current = static_cast<int>(SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return current < count() ? current : -1;
}

void CheckedList::setCurrent(int item) {
    showCount();
    const bool exists = item >= 0 && item < count();
    select(exists ? item : -1);
    if (exists && control_) SendMessageW(control_, LVM_ENSUREVISIBLE, item, FALSE);
}

void CheckedList::showChanges() {
    if (changed_) showCount();
}

void CheckedList::showCount() {
    if (!control_) return;   // attach shows them
    changed_ = false;
    SendMessageW(control_, LVM_SETITEMCOUNT, items_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    InvalidateRect(control_, nullptr, FALSE);   // marks may have changed too
}

void CheckedList::select(int item) {
    if (!control_) return;
    SetListViewState(control_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (item >= 0) SetListViewState(control_, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// The user's click on a box, or the space key: the mark changes here, and the
// item becomes the current one, as a click on its text would make it.
void CheckedList::toggle(int item) {
    if (item < 0 || item >= count()) return;
    items_[static_cast<size_t>(item)].checked = !items_[static_cast<size_t>(item)].checked;
    select(item);
    SendMessageW(control_, LVM_REDRAWITEMS, item, item);
    postItemSelected();
}

// Raised once the list has finished with the click or key that caused it, so
// that the handler sees the check mark as it now stands.
void CheckedList::postItemSelected() {
    if (selectionPosted_) return;
    selectionPosted_ = true;
    PostMessageW(window_, kItemSelectedMessage, id_, 0);
}

void CheckedList::notify(NMHDR& header) {
    switch (header.code) {
        case NM_CLICK:
        case NM_DBLCLK:
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) postItemSelected();
            break;
        case LVN_GETDISPINFOW:
            giveItem(reinterpret_cast<NMLVDISPINFOW&>(header));
            break;
        case LVN_KEYDOWN: {
            WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
            if (key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END || key == VK_PRIOR || key == VK_NEXT)
                postItemSelected();
            break;
        }
    }
}

void CheckedList::giveItem(NMLVDISPINFOW& request) const {
    LVITEMW& item = request.item;
    if (item.iItem < 0 || item.iItem >= count()) return;
    const Item& source = items_[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::wstring text = Widen(source.text);
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(source.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

LRESULT CALLBACK CheckedList::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CheckedList*>(data);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            LVHITTESTINFO hit{};
            hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int item = static_cast<int>(SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (item < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) break;
            SetFocus(hwnd);
            self->toggle(item);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam != VK_SPACE) break;
            self->toggle(static_cast<int>(SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
            return 0;
        case WM_CHAR:
            if (wParam == L' ') return 0;   // not a search for a text starting with a space
            break;
    }
    return comctl::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace cc
