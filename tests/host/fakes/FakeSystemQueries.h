#pragma once
// The machine as a test describes it: plain fields the queries answer from,
// and counters of how often each was asked.

#include <map>
#include <string>
#include <vector>

#include "platform/SystemQueries.h"

namespace cc::fake {

class FakeSystemQueries final : public SystemQueries {
public:
    BoardInfo board;
    std::map<int, DiskInfo> disks;   // by disk number; a missing number does not answer
    std::vector<AdapterInfo> adapters;
    OsInfo os;
    CpuInfo cpu;
    int cpuLoad = 0;
    int totalMegabytes = 0;
    int availableMegabytes = 0;
    std::string systemDirectory = "C:\\WINDOWS\\system32\\";

    std::vector<int> diskQueries;   // every number asked, in order
    int adapterQueries = 0;
    int cpuInfoQueries = 0;

    BoardInfo QueryBoardInfo() override { return board; }
    bool QueryDiskInfo(int number, DiskInfo& info) override {
        diskQueries.push_back(number);
        auto found = disks.find(number);
        if (found == disks.end()) return false;
        info = found->second;
        return true;
    }
    std::vector<AdapterInfo> QueryAdapters() override {
        ++adapterQueries;
        return adapters;
    }
    OsInfo QueryOsInfo() override { return os; }
    CpuInfo QueryCpuInfo() override {
        ++cpuInfoQueries;
        return cpu;
    }
    int QueryCpuUsage() override { return cpuLoad; }
    int QueryMemory(MemoryKind kind) override {
        return kind == MemoryKind::Total ? totalMegabytes : availableMegabytes;
    }
    std::string QuerySystemDirectory() override { return systemDirectory; }
};

}  // namespace cc::fake
