#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace cc {

std::wstring LongPath(std::string_view path) {
    std::wstring wide = Widen(path);
    if (wide.rfind(L"\\\\", 0) == 0) {
        if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
        return L"\\\\?\\UNC\\" + wide.substr(2);   // \\server\share
    }
    if (wide.size() >= 2 && wide[1] == L':') return L"\\\\?\\" + wide;
    return wide;   // relative: leave it to the system
}

bool Win32FileSystem::fileExists(std::string_view path) {
    DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::deleteFile(std::string_view path) {
    std::wstring file = LongPath(path);
    if (DeleteFileW(file.c_str())) return true;
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileW(file.c_str())) return true;
    SetFileAttributesW(file.c_str(), attributes);
    return false;
}

bool Win32FileSystem::writeFile(std::string_view path, std::span<const std::byte> content) {
    std::wstring target = LongPath(path);
    std::wstring staging = target + L".cc-new";
    {
        UniqueHandle file(CreateFileW(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        size_t written = 0;
        while (written < content.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 20));
            DWORD done = 0;
            if (!WriteFile(file.get(), content.data() + written, chunk, &done, nullptr) || done == 0) break;
            written += done;
        }
        bool complete = written == content.size() && FlushFileBuffers(file.get());
        if (!complete) {
            file.reset();
            DeleteFileW(staging.c_str());
            return false;
        }
    }
    // The swap: the old file stays until the new one has taken its name.
    if (MoveFileExW(staging.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(staging.c_str());
    return false;
}

}  // namespace cc
