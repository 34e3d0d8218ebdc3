#include "ui/win32/TaskbarProgress.h"

namespace cc {

ComPtr<ITaskbarList3> ConnectTaskbar() {
    // Windows XP and Vista make the object, but without this interface.
    ComPtr<ITaskbarList3> taskbar;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                taskbar.putVoid())) ||
        !taskbar || FAILED(taskbar->HrInit()))
        taskbar.reset();
    return taskbar;
}

bool TaskbarProgress::show(HWND window, WorkProgress progress, DWORD now) {
    using State = WorkProgress::State;
    if (progress == shown_) return false;
    if (shown_.state == State::None) {
        since_ = now;
        taskbar_ = connect_();
    }
    shown_ = progress;
    if (!taskbar_) return false;
    // Failures change nothing the user needs. A value ends the busy state by itself.
    if (progress.state == State::Share)
        taskbar_->SetProgressValue(window, static_cast<ULONGLONG>(progress.done), static_cast<ULONGLONG>(progress.total));
    else
        taskbar_->SetProgressState(window, progress.state == State::Busy ? TBPF_INDETERMINATE : TBPF_NOPROGRESS);
    if (progress.state != State::None) return false;
    taskbar_.reset();
    if (now - since_ < kLongWorkMs || GetAncestor(GetForegroundWindow(), GA_ROOTOWNER) == window) return false;
    // Once; the taskbar then keeps the button lit until the window is activated.
    FLASHWINFO flash{sizeof flash, window, FLASHW_TRAY, 1, 0};
    FlashWindowEx(&flash);
    return true;
}

}  // namespace cc
