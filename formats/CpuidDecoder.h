#pragma once
// Turns recorded CPUID answers into the processor record's fields. The
// Win32 layer runs the instruction; everything here is plain arithmetic on
// the registers, so it can be tested on any machine's recorded answers.

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "state/SystemRecords.h"

namespace cc {

struct CpuidRegisters {
    std::uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// The answers by (leaf, subleaf). A leaf the processor does not offer is
// simply absent; decoding then leaves its fields empty or 0.
struct CpuidAnswers {
    std::map<std::pair<std::uint32_t, std::uint32_t>, CpuidRegisters> leaves;

    const CpuidRegisters* find(std::uint32_t leaf, std::uint32_t subleaf = 0) const;
};

// Which leaves a reader should ask for, given the two maximum-leaf answers.
bool WantLeaf(std::uint32_t leaf, std::uint32_t maxBasic, std::uint32_t maxExtended);

std::string DecodeVendor(const CpuidAnswers& answers);
std::string DecodeBrand(const CpuidAnswers& answers);
// "Intel64 Family 6 Model 158 Stepping 10", as Windows names processors.
std::string DecodeIdentifier(const CpuidAnswers& answers);
// Kilobytes: level 1 is data and instruction together.
std::int32_t DecodeLevel1CacheKb(const CpuidAnswers& answers);
std::int32_t DecodeLevel2CacheKb(const CpuidAnswers& answers);
// Only the processors that have the serial-number feature turned on give one.
std::string DecodeSerialNumber(const CpuidAnswers& answers);
std::int32_t DecodeDataWidth(const CpuidAnswers& answers);

// All of the above; the clock is not in CPUID and is left to the caller.
CpuInfo DecodeCpu(const CpuidAnswers& answers);

}  // namespace cc
