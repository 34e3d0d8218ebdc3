#pragma once
// All the in-memory fakes together, and the Platform over them.

#include "fakes/MemoryFileSystem.h"
#include "platform/Platform.h"

namespace cc::fake {

struct NoRegistry final : Registry {};
struct NoProcesses final : Processes {};
struct NoSystemQueries final : SystemQueries {};

struct FakePlatform {
    MemoryFileSystem files;
    NoRegistry registry;
    NoProcesses processes;
    NoSystemQueries system;
    Platform platform{files, registry, processes, system};
};

}  // namespace cc::fake
