#pragma once
// A thread for the Wine tests. The toolchain's win32 thread model has no
// std::thread, so the tests start their helpers with the system directly.

#include <windows.h>

#include <functional>
#include <utility>

namespace cc::test {

// Runs the function on a thread of its own; joins when it goes.
class TestThread {
public:
    explicit TestThread(std::function<void()> body) : body_(std::move(body)) {
        handle_ = CreateThread(nullptr, 0, &TestThread::Run, this, 0, nullptr);
    }
    ~TestThread() { join(); }
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;

    void join() {
        if (!handle_) return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<TestThread*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    HANDLE handle_ = nullptr;
};

}  // namespace cc::test
