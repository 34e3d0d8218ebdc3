#pragma once
// The Windows services the features use, one interface per area. The real
// program passes the Win32 implementations; host tests pass in-memory fakes.

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "platform/SystemQueries.h"

namespace cc {

struct Platform {
    FileSystem& files;
    Registry& registry;
    Processes& processes;
    SystemQueries& system;
    Resources& resources;
};

}  // namespace cc
