#pragma once
// All the in-memory fakes together, and the Platform over them.

#include "fakes/FakeProcesses.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystemQueries.h"
#include "fakes/MemoryFileSystem.h"
#include "platform/Platform.h"

namespace cc::fake {

struct FakePlatform {
    MemoryFileSystem files;
    FakeRegistry registry;
    FakeProcesses processes;
    FakeSystemQueries system;
    Platform platform{files, registry, processes, system};
};

}  // namespace cc::fake
