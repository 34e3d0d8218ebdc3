#pragma once
#include <windows.h>

#include <string>

namespace cc {

// One of the system's own folders (GetSystemDirectoryW, GetWindowsDirectoryW,
// GetSystemWow64DirectoryW), without a trailing separator; empty when the
// system has none or it does not fit.
inline std::wstring SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH];
    const UINT length = query(buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

}  // namespace cc
