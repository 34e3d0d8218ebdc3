#pragma once
// All the in-memory fakes together, and the Platform over them. The journal
// holds what the file system, registry and process fakes were asked, in one
// order.

#include <algorithm>
#include <map>

#include "fakes/FakeRegistry.h"
#include "fakes/MemoryFileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemQueries.h"

namespace cc::fake {

// The machine as a test describes it, and the disk numbers and adapter lists asked for.
struct FakeSystemQueries final : SystemQueries {
    BoardInfo board;
    std::map<int, DiskInfo> disks;   // by disk number; a missing number does not answer
    std::vector<AdapterInfo> adapters;
    OsInfo os;
    CpuInfo cpu;
    int cpuLoad = 0, totalMegabytes = 0, availableMegabytes = 0, adapterQueries = 0;
    std::string systemDirectory = "C:\\WINDOWS\\system32\\";
    std::vector<int> diskQueries;

    BoardInfo QueryBoardInfo() override { return board; }
    bool QueryDiskInfo(int number, DiskInfo& info) override {
        diskQueries.push_back(number);
        const auto found = disks.find(number);
        if (found != disks.end()) info = found->second;
        return found != disks.end();
    }
    std::vector<AdapterInfo> QueryAdapters() override { return ++adapterQueries, adapters; }
    OsInfo QueryOsInfo() override { return os; }
    CpuInfo QueryCpuInfo() override { return cpu; }
    int QueryCpuUsage() override { return cpuLoad; }
    int QueryMemory(MemoryKind kind) override { return kind == MemoryKind::Total ? totalMegabytes : availableMegabytes; }
    std::string QuerySystemDirectory() override { return systemDirectory; }
};

// Started command lines and waits, logged ("start explorer.exe", "wait 1000"); nothing runs.
struct FakeProcesses final : Processes, CallLog {
    std::vector<std::string> missingPrograms;   // "ntsd": fails to start

    bool start(std::string_view commandLine) override {
        record("start " + std::string(commandLine));
        const std::string program(commandLine.substr(0, commandLine.find(' ')));
        return std::find(missingPrograms.begin(), missingPrograms.end(), program) == missingPrograms.end();
    }
    void wait(int milliseconds) override { record("wait " + std::to_string(milliseconds)); }
};

// The program's byte blocks, as a test gives them.
struct FakeResources final : Resources {
    std::map<int, std::vector<std::byte>> blocks;

    std::span<const std::byte> block(int id) override {
        return blocks.count(id) ? std::span<const std::byte>(blocks[id]) : std::span<const std::byte>();
    }
};

struct FakePlatform {
    MemoryFileSystem files;
    FakeRegistry registry;
    FakeProcesses processes;
    FakeSystemQueries system;
    FakeResources resources;
    Platform platform{files, registry, processes, system, resources};
    std::vector<std::string> journal;

    FakePlatform() {
        files.journalTo(&journal);
        registry.journalTo(&journal);
        processes.journalTo(&journal);
    }
    FakePlatform(const FakePlatform&) = delete;
};

}  // namespace cc::fake
