#pragma once
// All the in-memory fakes together, and the Platform over them. The journal
// holds what the file system, registry and process fakes were asked, in one
// order.

#include <string>
#include <vector>

#include "fakes/FakeProcesses.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeResources.h"
#include "fakes/FakeSystemQueries.h"
#include "fakes/MemoryFileSystem.h"
#include "platform/Platform.h"

namespace cc::fake {

struct FakePlatform {
    FakePlatform() {
        files.journalTo(&journal);
        registry.journalTo(&journal);
        processes.journalTo(&journal);
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    MemoryFileSystem files;
    FakeRegistry registry;
    FakeProcesses processes;
    FakeSystemQueries system;
    FakeResources resources;
    Platform platform{files, registry, processes, system, resources};
    std::vector<std::string> journal;
};

}  // namespace cc::fake
