#pragma once
// The window procedures of the program's own classes, each in a file of its
// own and registered together (RegisterWidgetClasses), and the keyboard
// handling that labels and buttons share.

#include <windows.h>

namespace cc {

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);    // PanelWidgets.cpp
LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);    // LabelWidgets.cpp
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);   // ButtonWidgets.cpp

inline bool IsFirstPress(LPARAM keyData) { return (keyData & (1 << 30)) == 0; }   // not the key's repeat

// What the dialog manager may take of a key for itself: Enter is the
// control's own, as a click is.
inline LRESULT DialogCodeFor(LPARAM message, LRESULT others) {
    const auto* msg = reinterpret_cast<const MSG*>(message);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
    return others;
}

}  // namespace cc
