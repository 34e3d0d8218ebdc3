#pragma once
// The texts of the system-information pages and gauges, built from the
// records by plain concatenation. UTF-8 in, UTF-8 out.

#include <string>

#include "state/SystemRecords.h"

namespace cc {

std::string BoardText(const BoardInfo& board);
// Megabytes as gigabytes, rounded to three places, no trailing zeros.
std::string CapacityText(std::int32_t megabytes);
std::string DiskText(const DiskInfo& disk);
std::string DiskGroupCaption(int count);
std::string AdapterText(const AdapterInfo& adapter);
std::string AdapterGroupCaption(int count);
std::string OsText(const OsInfo& os);
std::string CpuText(const CpuInfo& cpu);
std::string CpuUsageText(int load);
std::string MemoryText(int totalMegabytes, int availableMegabytes, int usedMegabytes);

}  // namespace cc
