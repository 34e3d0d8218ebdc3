#pragma once
// One thread kept for the process's life that makes a blocking call for the
// user-interface thread, which keeps answering its window meanwhile.

#include <functional>

namespace cc {

// Runs `call` on the helper thread and, until it has returned, `between` on
// this thread every 20 ms; returns once `call` has. `call` must not throw.
// Without `between`, before Windows 8 (no WaitOnAddress, and so no cheap
// hand-over), where the helper cannot start, and while it makes a call for a
// `between` further out, `call` runs here as any call does.
void CallAside(const std::function<void()>& call, const std::function<void()>& between);

}  // namespace cc
