#pragma once
// Whole files made (created or replaced with the given bytes) and read back by
// the Windows and end-to-end tests (wide paths, the long-path form allowed),
// and registry values stored as another program would store them.

#include <windows.h>

#include <string>

namespace cc::test {

inline bool MakeFile(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ok && written == content.size();
}

// Everything the file holds, read to its end (Linux /proc files report size 0); empty when it cannot be opened.
inline std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return content;
}

// Creates the key if need be (64-bit view).
inline bool SetRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &opened, nullptr)) return false;
    bool ok = RegSetValueExW(opened, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return ok;
}

}  // namespace cc::test
