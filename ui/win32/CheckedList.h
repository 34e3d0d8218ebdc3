#pragma once
// A checked list box as a virtual list view: its items and their marks live
// here and the control asks for those it shows. Adding, checking and removing
// then cost next to nothing at any count, and so does its memory; the control
// learns the count when the window shows what changed, which is all anybody
// can see of it. The items are kept from the window's start, before the
// control itself is made.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

namespace cc {

// Posted to the window when the user has selected an item (wParam: the list's id).
inline constexpr UINT kItemSelectedMessage = WM_APP + 1;

class CheckedList {
public:
    // The item-selected message goes to `window` with `id`.
    CheckedList(HWND window, WPARAM id) : window_(window), id_(id) {}
    CheckedList(const CheckedList&) = delete;
    CheckedList& operator=(const CheckedList&) = delete;

    // The list view's window style and extended style.
    static constexpr DWORD kStyle = LVS_REPORT | LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    static constexpr DWORD kExStyle = WS_EX_CLIENTEDGE;

    // Shows the items in `control`, a list view of that style just made: one
    // column as wide as the list at the DPI, the marks asked of this list,
    // clicks on them taken here first.
    void attach(HWND control, int dpi);
    // The column as wide as the list, once the list has its size at a new DPI.
    void fitColumn(int dpi);

    // Out of range: an empty text, no mark, and no change.
    int count() const { return static_cast<int>(items_.size()); }
    std::string text(int item) const;
    bool checked(int item) const;
    int add(std::string_view text);   // unchecked, at the end; its position
    void setChecked(int item, bool checked);
    void setAllChecked(bool checked);
    // Removes the items at these ascending positions; the current item moves up with what stays.
    void remove(const std::vector<int>& positions);
    void clear();
    int current() const;   // -1: none, or the control is still to come
    void setCurrent(int item);

    // The control learns the count and repaints if the items changed since it last did.
    void showChanges();
    // What the list view tells its parent (WM_NOTIFY), some of it asking to be filled in.
    void notify(NMHDR& header);
    // The item-selected message has arrived: the next selection posts another.
    void selectionArrived() { selectionPosted_ = false; }

private:
    struct Item {
        std::string text;
        bool checked = false;
    };

    void showCount();
    void select(int item);   // the one selected and focused item, or none at -1
    void toggle(int item);
    void giveItem(NMLVDISPINFOW& request) const;
    void postItemSelected();
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

    HWND window_;
    WPARAM id_;
    HWND control_ = nullptr;
    std::vector<Item> items_;
    bool changed_ = false;           // the control has yet to see the items
    bool selectionPosted_ = false;   // an item-selected message is on its way
};

}  // namespace cc
