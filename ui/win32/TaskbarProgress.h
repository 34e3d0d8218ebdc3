#pragma once
// Long work on the program's taskbar button, Windows 7 and later: a busy bar
// or the share done, and one flash of the button when work shown for long
// ends while another window is in front. Older systems have no taskbar object
// that shows progress; there nothing at all happens, and no flash either.

#include <windows.h>
#include <shobjidl.h>

#include "platform/win32/Handles.h"
#include "ui/ControlLayer.h"

namespace cc {

// Work shown this long or longer flashes the button at its end.
inline constexpr DWORD kLongWorkMs = 2000;

// The taskbar's object, or null where the system has none.
ComPtr<ITaskbarList3> ConnectTaskbar();

class TaskbarProgress {
public:
    using Connect = ComPtr<ITaskbarList3> (*)();
    explicit TaskbarProgress(Connect connect = ConnectTaskbar) : connect_(connect) {}

    WorkProgress shown() const { return shown_; }
    // Shows `progress` on the button of `window`; `now` in GetTickCount's
    // milliseconds. True when the work ended and the button flashed.
    bool show(HWND window, WorkProgress progress, DWORD now);

private:
    Connect connect_;
    // Held only while work shows: Explorer may have started afresh since the
    // last work (a repair restarts it), and the old object would be dead.
    ComPtr<ITaskbarList3> taskbar_;
    WorkProgress shown_;
    DWORD since_ = 0;
};

}  // namespace cc
