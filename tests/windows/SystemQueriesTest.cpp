// The system queries of the real Win32 layer under Wine against what the same source tells the test:
// the processor itself, the system's registry and environment, or Linux through the prefix's Y: drive
// (scripts/test-fixtures.sh). Either side may know more; what both read from one source must agree.
#include <gtest/gtest.h>
#include <cpuid.h>

#include <algorithm>
#include <map>
#include <set>

#include "TestFiles.h"
#include "formats/CpuidDecoder.h"
#include "platform/win32/Win32SystemQueries.h"

using namespace cc;
using namespace cc::test;

namespace {
std::string FirstLine(const std::wstring& path) { const std::string s = ReadWholeFile(path); return s.substr(0, s.find('\n')); }
TEST(SystemQueries, ProcessorIsTheOneCpuidDescribes) {
    const CpuInfo cpu = Win32SystemQueries().QueryCpuInfo();
    EXPECT_EQ(cpu.dataWidth, 64);   // this 64-bit program runs, so the processor has long mode
    // Every leaf the processor offers, asked here, decodes to the same record: the reader asks for
    // all the leaves the decoder needs, whichever this processor or its hypervisor hides.
    auto ask = [](std::uint32_t leaf, std::uint32_t sub = 0) { CpuidRegisters r; __cpuid_count(leaf, sub, r.eax, r.ebx, r.ecx, r.edx); return r; };
    CpuidAnswers every;
    for (std::uint32_t base : {0u, 0x80000000u})
        for (std::uint32_t leaf = base; leaf <= ask(base).eax && leaf < base + 0x100; ++leaf)
            for (std::uint32_t sub = 0; sub < (leaf == 4 ? 32u : 1u); ++sub) every.leaves[{leaf, sub}] = ask(leaf, sub);
    const CpuInfo all = DecodeCpu(every);   // and its clock, and family, model and stepping as the system's own description names them
    EXPECT_EQ(std::tie(cpu.vendor, cpu.name, cpu.level1Cache, cpu.level2Cache, cpu.serialNumber, cpu.description, cpu.dataWidth),
              std::tie(all.vendor, all.name, all.level1Cache, all.level2Cache, all.serialNumber, all.description, all.dataWidth));
    constexpr const wchar_t* kKey = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    wchar_t identifier[256]{};
    DWORD mhz = 0, size = sizeof identifier - sizeof(wchar_t), mhzSize = sizeof mhz;
    RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"Identifier", RRF_RT_REG_SZ, nullptr, identifier, &size);
    RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"~MHz", RRF_RT_REG_DWORD, nullptr, &mhz, &mhzSize);
    auto family = [](const std::string& s) { return s.substr(std::min(s.find(" Family "), s.size())); };
    ASSERT_FALSE(family(Narrow(identifier)).empty()) << Narrow(identifier);
    EXPECT_EQ(std::pair(family(cpu.description), cpu.clockMhz), std::pair(family(Narrow(identifier)), int(mhz)));
}
// The caches Linux lists for the first processor (Y:\sys\devices\system\cpu\cpu0\cache), in KiB by level,
// data and instruction caches together. Linux lists none on some virtual machines.
TEST(SystemQueries, CachesAreTheOnesLinuxLists) {
    std::map<int, int> linuxKb;
    ForEachIn(L"Y:\\sys\\devices\\system\\cpu\\cpu0\\cache\\", [&](const std::wstring& cache, const WIN32_FIND_DATAW& entry) {
        if (wcsncmp(entry.cFileName, L"index", 5) == 0)
            linuxKb[std::atoi(FirstLine(cache + L"\\level").c_str())] += std::atoi(FirstLine(cache + L"\\size").c_str());
    });
    if (linuxKb.empty()) GTEST_SKIP() << "Linux lists no caches on this machine";
    const CpuInfo cpu = Win32SystemQueries().QueryCpuInfo();
    EXPECT_EQ(std::pair(cpu.level1Cache, cpu.level2Cache), std::pair(linuxKb[1], linuxKb[2]));
}
TEST(SystemQueries, AdaptersAreTheMachinesInterfaces) {
    const auto adapters = Win32SystemQueries().QueryAdapters();
    std::set<std::string> linuxMacs;
    ForEachIn(L"Y:\\sys\\class\\net\\", [&](const std::wstring& net, const WIN32_FIND_DATAW&) {
        std::string mac = FirstLine(net + L"\\address");
        std::replace(mac.begin(), mac.end(), ':', '-');
        linuxMacs.insert(Upper(mac));
    });
    ASSERT_FALSE(linuxMacs.empty()) << "Y:\\sys\\class\\net unreadable";
    // Some are shown where Linux has an interface besides the loopback (IPHLPAPI loaded from the system folder).
    EXPECT_EQ(adapters.empty(), linuxMacs == std::set<std::string>{"00-00-00-00-00-00"});
    // Every hardware address shown is one of an interface Linux has; either side may list more.
    // (Mask, gateway, WINS and DHCP server are held against the older call's, from other fields: OldWaysWineTest.)
    for (const auto& a : adapters) EXPECT_TRUE(!a.name.empty() && linuxMacs.count(a.macAddress)) << a.name << " " << a.macAddress;
}
TEST(SystemQueries, MemoryBoardAndSystemAgreeWithLinuxAndTheEnvironment) {
    Win32SystemQueries system;
    const std::string meminfo = ReadWholeFile(L"Y:\\proc\\meminfo");
    ASSERT_NE(meminfo.find("MemTotal:"), std::string::npos) << "Y:\\proc\\meminfo unreadable";
    const long long linuxMb = std::atoll(meminfo.c_str() + meminfo.find("MemTotal:") + 9) / 1024;
    const int total = system.QueryMemory(MemoryKind::Total), available = system.QueryMemory(MemoryKind::Available);
    EXPECT_NEAR(total, linuxMb, std::max(2LL, linuxMb / 100));
    EXPECT_TRUE(available > 0 && available <= total) << available << " of " << total;
    const BoardInfo board = system.QueryBoardInfo();
    const std::string linuxBoard = FirstLine(L"Y:\\sys\\class\\dmi\\id\\board_name");
    EXPECT_EQ(board.name, linuxBoard);   // both empty where the machine has no DMI tables
    const OsInfo os = system.QueryOsInfo();
    wchar_t root[MAX_PATH]{}, user[256]{};
    GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
    GetEnvironmentVariableW(L"USERNAME", user, 256);
    EXPECT_EQ(std::tuple(Upper(os.windowsDirectory), os.currentUser, os.languageCode, system.QuerySystemDirectory()),
              std::tuple(Upper(Narrow(root)), Narrow(user), int(GetUserDefaultLCID() & 0xFFFF), os.systemDirectory + "\\"));
    EXPECT_EQ(os.systemDirectory.rfind(os.windowsDirectory + "\\", 0), 0u) << os.systemDirectory;
}

}  // namespace
