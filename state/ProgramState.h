#pragma once
// The program-wide values the features share. Created empty at start-up,
// released at exit, never saved. Only the user-interface thread touches it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/SystemRecords.h"

namespace cc {

// The junk pattern table: exactly 100 slots, slot n (from 1) at index n - 1,
// each holding one pattern or nothing (an empty text).
inline constexpr int kJunkPatternSlots = 100;
using PatternTable = std::array<std::string, kJunkPatternSlots>;

struct ProgramState {
    std::vector<AdapterInfo> adapters;
    bool WindowMaximised = false;
    PatternTable JunkPatterns{};
    std::int32_t RestoreLeft = 0;
    std::int32_t RestoreTop = 0;
    std::int32_t RestoreWidth = 0;
    std::int32_t RestoreHeight = 0;
    cc::BoardInfo BoardInfo;
    cc::DiskInfo DiskInfo;
    cc::OsInfo OsInfo;
    std::vector<std::string> drives;   // "C:" texts last fetched for the drive page
    std::string SystemDirectory;       // ends in a backslash
    std::string RegistryText;
    cc::CpuInfo CpuInfo;
};

}  // namespace cc
