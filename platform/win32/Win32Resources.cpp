#include "platform/win32/Win32Resources.h"

#include <windows.h>

namespace cc {

std::span<const std::byte> Win32Resources::block(int resourceId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, found);
    if (!bytes || size == 0) return {};
    // Resource memory lives as long as the module: the span stays valid.
    return {static_cast<const std::byte*>(bytes), size};
}

}  // namespace cc
