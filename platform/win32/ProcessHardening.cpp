#include "platform/win32/ProcessHardening.h"

#include <windows.h>

namespace cc {

bool TrustOnlyAdministratorsLinks() {
    // ProcessRedirectionTrustPolicy and its EnforceRedirectionTrust bit, as
    // the Windows 10 headers number them; NT 5.2's headers have neither.
    constexpr int kRedirectionTrustPolicy = 16;
    constexpr DWORD kEnforce = 1;
    using SetPolicy = BOOL(WINAPI*)(int policy, PVOID buffer, SIZE_T length);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetProcessMitigationPolicy") : nullptr;
    if (!found) return false;
    DWORD flags = kEnforce;
    return reinterpret_cast<SetPolicy>(reinterpret_cast<void*>(found))(kRedirectionTrustPolicy, &flags, sizeof flags);
}

}  // namespace cc
