#pragma once
// The real Win32 services together, and the Platform over them.

#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32SystemQueries.h"

namespace cc {

struct Win32Platform {
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Win32FileSystem files;
    Win32Registry registry;
    Win32Processes processes;
    Win32SystemQueries system;
    Win32Resources resources;
    Platform platform{files, registry, processes, system, resources};
};

}  // namespace cc
