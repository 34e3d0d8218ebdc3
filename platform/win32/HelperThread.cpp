#include "platform/win32/HelperThread.h"

#include <windows.h>

#include <atomic>

#include "platform/win32/SystemLibrary.h"

namespace cc {
namespace {

using WaitOnAddressFunction = BOOL WINAPI(volatile VOID*, PVOID, SIZE_T, DWORD);
using WakeByAddressFunction = VOID WINAPI(PVOID);

// A hand-over through WaitOnAddress costs some 10 us under Wine, against a
// server round trip and more for an event: cheap enough for every folder of a walk.
class Helper {
public:
    static Helper* Started() {
        static Helper* const helper = Start();   // never ends: the process's exit takes it
        return helper;
    }

    bool call(const std::function<void()>& call, const std::function<void()>& between) {
        if (busy_) return false;
        busy_ = true;
        call_ = &call;
        const ULONG ticket = asked_.load() + 1;
        asked_.store(ticket);
        wake_(&asked_);
        for (ULONG seen; (seen = answered_.load()) != ticket;) {
            wait_(&answered_, &seen, sizeof seen, 20);
            if (answered_.load() != ticket) between();
        }
        busy_ = false;
        return true;
    }

private:
    Helper(WaitOnAddressFunction* wait, WakeByAddressFunction* wake) : wait_(wait), wake_(wake) {}

    static Helper* Start() {
        auto* wait = SystemFunction<WaitOnAddressFunction>(L"kernelbase.dll", "WaitOnAddress");
        auto* wake = SystemFunction<WakeByAddressFunction>(L"kernelbase.dll", "WakeByAddressSingle");
        if (!wait || !wake) return nullptr;
        auto* helper = new Helper(wait, wake);
        HANDLE thread = CreateThread(nullptr, 64 << 10, Serve, helper, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        if (!thread) {
            delete helper;
            return nullptr;
        }
        CloseHandle(thread);
        return helper;
    }

    static DWORD WINAPI Serve(void* self) {
        auto& helper = *static_cast<Helper*>(self);
        for (ULONG served = 0;;) {
            while (helper.asked_.load() == served) helper.wait_(&helper.asked_, &served, sizeof served, INFINITE);
            served = helper.asked_.load();
            (*helper.call_)();
            helper.answered_.store(served);
            helper.wake_(&helper.answered_);
        }
    }

    WaitOnAddressFunction* const wait_;
    WakeByAddressFunction* const wake_;
    std::atomic<ULONG> asked_{0}, answered_{0};
    const std::function<void()>* call_ = nullptr;
    bool busy_ = false;   // only the calling thread looks at it
};

}  // namespace

void CallAside(const std::function<void()>& call, const std::function<void()>& between) {
    Helper* helper = between ? Helper::Started() : nullptr;
    if (!helper || !helper->call(call, between)) call();
}

}  // namespace cc
