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
// A processor cache of that many KiB in its unit: "112 KB" below 1 MiB, else
// MB, whole where the size is whole, else to one decimal ("1.5 MB"); a cache
// the processor does not report is "0 MB".
std::string CacheSizeText(std::int32_t kilobytes);
std::string CpuText(const CpuInfo& cpu);
// The list's text for a disk: its model, or "硬盘 N" for one that reports none.
std::string DiskListText(const DiskInfo& disk, int number);
std::string CpuUsageText(int load);
std::string MemoryText(int totalMegabytes, int availableMegabytes, int usedMegabytes);

}  // namespace cc
