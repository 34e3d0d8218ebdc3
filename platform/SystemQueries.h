#pragma once
// Facts about the machine: board, disks, adapters, operating system,
// processor and memory. A fact the system cannot give is left empty or 0;
// nothing here reports an error any other way.

#include <string>
#include <vector>

#include "state/SystemRecords.h"

namespace cc {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

enum class MemoryKind { Total = 0, Available = 1 };

class SystemQueries {
public:
    virtual ~SystemQueries() = default;

    virtual BoardInfo QueryBoardInfo() = 0;
    // True and `info` filled when physical disk `number` exists and could be
    // read; false leaves `info` as it was.
    virtual bool QueryDiskInfo(int number, DiskInfo& info) = 0;
    virtual std::vector<AdapterInfo> QueryAdapters() = 0;
    virtual OsInfo QueryOsInfo() = 0;
    virtual CpuInfo QueryCpuInfo() = 0;
    // The processor load since the previous call, 0 to 100.
    virtual int QueryCpuUsage() = 0;
    // Physical memory in megabytes.
    virtual int QueryMemory(MemoryKind kind) = 0;
    // The Windows system directory, ending in a backslash.
    virtual std::string QuerySystemDirectory() = 0;
    // The machine's folder for application data of all users, as the
    // machine's own registry names it (never as the user's settings or
    // environment would), ending in a backslash; empty when it cannot be told.
    virtual std::string QueryCommonAppData() = 0;
    // The process's user as a SID string ("S-1-5-21-..."); empty when unknown.
    virtual std::string QueryUserSid() = 0;
    virtual LocalTime QueryLocalTime() = 0;
};

}  // namespace cc
