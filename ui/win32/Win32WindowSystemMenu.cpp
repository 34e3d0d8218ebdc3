// The system menu of the borderless window: Alt+Space opens it below the
// title bar (Windows shows none for a window without a caption). Its items
// follow the frame (the program's own maximise, no move while maximised,
// sizing by the edges in either state), and Close does what the close
// button does.
#include "ui/win32/Win32Window.h"

namespace cc {

namespace {

// The window's commands, in the system menu's order; 0 is a separator.
constexpr UINT kCommands[] = {SC_RESTORE, SC_MOVE, SC_SIZE, 0, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE};

// A popup of the system menu's own items (their texts in the user's
// language, their glyphs). The system menu itself is set up anew by the
// system each time it opens (Wine does so after WM_INITMENUPOPUP), greying
// sizing and maximising, which this window does in its own way.
HMENU CopyOfSystemMenu(HMENU system) {
    HMENU menu = CreatePopupMenu();
    for (UINT command : kCommands) {
        wchar_t text[128] = L"";
        MENUITEMINFOW item{sizeof item};
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        item.wID = command;
        item.fType = command ? MFT_STRING : MFT_SEPARATOR;
        if (command) {
            item.dwTypeData = text;
            item.cch = 128;
            if (!GetMenuItemInfoW(system, command, FALSE, &item)) continue;
            item.dwTypeData = text;
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item);
    }
    return menu;
}

}  // namespace

void Win32Window::showSystemMenu() {
    if (!(GetWindowLongPtrW(window_, GWL_STYLE) & WS_SYSMENU)) return;   // the control box is off
    HMENU system = GetSystemMenu(window_, FALSE);
    const Control* bar = find("图片框_上中");
    if (!system || !bar || !bar->hwnd) return;
    RECT window{}, title{};
    GetWindowRect(window_, &window);
    GetWindowRect(bar->hwnd, &title);
    HMENU menu = CopyOfSystemMenu(system);
    prepareSystemMenu(menu);
    UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                                                    window.left, title.bottom, 0, window_, nullptr));
    DestroyMenu(menu);
    if (command) PostMessageW(window_, WM_SYSCOMMAND, command, 0);
}

void Win32Window::prepareSystemMenu(HMENU menu) const {
    const bool iconic = IsIconic(window_) != FALSE;
    auto allow = [menu](UINT command, bool on) { EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    allow(SC_RESTORE, iconic || maximised_);
    allow(SC_MOVE, !iconic && !maximised_);
    allow(SC_SIZE, !iconic);
    allow(SC_MINIMIZE, !iconic);
    allow(SC_MAXIMIZE, !iconic && !maximised_);
    allow(SC_CLOSE, true);
}

// True when the command is handled here; the rest is the system's (its
// keyboard move and size, minimise, restore from the taskbar).
bool Win32Window::systemCommand(WPARAM command, LPARAM key) {
    const Control* maximise = find("图形按钮_最大化");
    const Control* close = find("图形按钮_关闭");
    switch (command & 0xFFF0) {
        case SC_KEYMENU:   // Alt and a key; a window without a caption shows no menu of itself
            if (key != ' ') return false;
            showSystemMenu();
            return true;
        case SC_MAXIMIZE:
        case SC_RESTORE:
            if (IsIconic(window_)) return (command & 0xFFF0) == SC_MAXIMIZE;   // restored by the system
            if (maximise && maximised_ == ((command & 0xFFF0) == SC_RESTORE)) widgetEvent(maximise->hwnd, Event::Clicked);
            return true;
        case SC_MOVE:
            return maximised_;   // the title bar does not move a maximised window either
        case SC_CLOSE:
            if (close) widgetEvent(close->hwnd, Event::Clicked);
            return true;
    }
    return false;
}

}  // namespace cc
