// The window's message loop, and the pumps that long work calls: each looks
// at the queue at most so often, and what handlers changed shows at them a
// few times a second.
#include "platform/win32/Utf.h"
#include "ui/win32/Win32Window.h"

namespace cc {

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
        if (c.list) c.list->showChanges();
        if (c.pendingCaption) {
            SetWindowTextW(c.hwnd, c.pendingCaption->c_str());
            c.pendingCaption.reset();
            c.passingShownAt = lastShown_;
        }
    }
}

}  // namespace cc
