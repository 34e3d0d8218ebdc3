// CPUID, the clock from the registry's processor description, and the
// system's time counters.
#include <windows.h>
#include <cpuid.h>

#include "platform/win32/Win32SystemQueries.h"

namespace cc {

namespace {

CpuidRegisters Ask(std::uint32_t leaf, std::uint32_t subleaf) {
    CpuidRegisters r;
    __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

std::uint64_t Ticks(const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

CpuidAnswers ReadCpuid() {
    CpuidAnswers answers;
    const CpuidRegisters basic = Ask(0, 0);
    const CpuidRegisters extended = Ask(0x80000000, 0);
    answers.leaves[{0, 0}] = basic;
    for (std::uint32_t leaf : {1u, 3u, 0x80000001u, 0x80000002u, 0x80000003u, 0x80000004u, 0x80000005u, 0x80000006u})
        if (WantLeaf(leaf, basic.eax, extended.eax)) answers.leaves[{leaf, 0}] = Ask(leaf, 0);
    if (WantLeaf(4, basic.eax, extended.eax)) {
        for (std::uint32_t sub = 0; sub < 16; ++sub) {
            const CpuidRegisters r = Ask(4, sub);
            answers.leaves[{4, sub}] = r;
            if ((r.eax & 0x1F) == 0) break;
        }
    }
    return answers;
}

std::int32_t ReadProcessorMhz() {
    DWORD mhz = 0;
    DWORD size = sizeof mhz;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", L"~MHz",
                     RRF_RT_REG_DWORD, nullptr, &mhz, &size) != ERROR_SUCCESS)
        return 0;
    return mhz > 0x7FFFFFFF ? 0 : static_cast<std::int32_t>(mhz);
}

bool ReadProcessorTimes(ProcessorTimes& times) {
    FILETIME idle{}, kernel{}, user{};
    if (!GetSystemTimes(&idle, &kernel, &user)) return false;
    times = {Ticks(idle), Ticks(kernel), Ticks(user)};
    return true;
}

}  // namespace cc
