#pragma once
#include "formats/CpuLoad.h"
#include "formats/CpuidDecoder.h"
#include "platform/SystemQueries.h"

namespace cc {

class Win32SystemQueries : public SystemQueries {
public:
    Win32SystemQueries();

    BoardInfo QueryBoardInfo() override;
    bool QueryDiskInfo(int number, DiskInfo& info) override;
    std::vector<AdapterInfo> QueryAdapters() override;
    OsInfo QueryOsInfo() override;
    CpuInfo QueryCpuInfo() override;
    int QueryCpuUsage() override;
    int QueryMemory(MemoryKind kind) override;
    std::string QuerySystemDirectory() override;
    std::string QueryCommonAppData() override;
    std::string QueryUserSid() override;
    LocalTime QueryLocalTime() override;

private:
    ProcessorTimes lastTimes_;
};

// The pieces, one file each; the tests call them directly too.
std::vector<std::uint8_t> ReadSmbiosTable();              // SysBoard.cpp
CpuidAnswers ReadCpuid();                                 // SysCpu.cpp
std::int32_t ReadProcessorMhz();                          // SysCpu.cpp
bool ReadProcessorTimes(ProcessorTimes& times);           // SysCpu.cpp

}  // namespace cc
