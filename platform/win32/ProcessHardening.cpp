#include "platform/win32/ProcessHardening.h"

#include <windows.h>

#include "platform/win32/SystemLibrary.h"

namespace cc {

bool SearchSystemFolderOnly() {
    SetDllDirectoryW(L"");   // XP SP1 and Server 2003 SP1 on
    constexpr DWORD kSystemFolder = 0x00000800;   // LOAD_LIBRARY_SEARCH_SYSTEM32
    const auto searchOnly = SystemFunction<BOOL WINAPI(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories");
    return searchOnly && searchOnly(kSystemFolder);
}

bool TrustOnlyAdministratorsLinks() {
    // ProcessRedirectionTrustPolicy and its EnforceRedirectionTrust bit, as
    // the Windows 10 headers number them; NT 5.2's headers have neither.
    constexpr int kRedirectionTrustPolicy = 16;
    constexpr DWORD kEnforce = 1;
    const auto setPolicy =
        SystemFunction<BOOL WINAPI(int, PVOID, SIZE_T)>(L"kernel32.dll", "SetProcessMitigationPolicy");
    DWORD flags = kEnforce;
    return setPolicy && setPolicy(kRedirectionTrustPolicy, &flags, sizeof flags);
}

}  // namespace cc
