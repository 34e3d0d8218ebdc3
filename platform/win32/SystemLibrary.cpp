#include "platform/win32/SystemLibrary.h"

#include <string>

#include "platform/win32/SystemFolder.h"

namespace cc {

HMODULE SystemLibrary(const wchar_t* dll) {
    const std::wstring folder = SystemFolder(GetSystemDirectoryW);
    if (folder.empty()) return nullptr;
    // A full path with the altered search: what the library imports is looked
    // for in its own folder, the system folder, first.
    return LoadLibraryExW((folder + L"\\" + dll).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// RtlGetVersion tells the truth whatever the manifest says.
bool RealWindowsVersion(RTL_OSVERSIONINFOW& version) {
    static const auto get = SystemFunction<LONG WINAPI(RTL_OSVERSIONINFOW*)>(L"ntdll.dll", "RtlGetVersion");
    version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return get && get(&version) == 0;
}

}  // namespace cc
