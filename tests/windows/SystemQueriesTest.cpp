// The system queries of the real Win32 layer under Wine against what the same source tells the test:
// the processor itself, the system's counters and registry, or Linux through the prefix's Y: drive
// (scripts/test-fixtures.sh). Either side may know more; what both read from one source must agree.
#include <gtest/gtest.h>
#include <cpuid.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <sstream>

#include "TestFiles.h"
#include "platform/CpuidDecoder.h"
#include "platform/win32/Win32SystemQueries.h"

using namespace cc;
using namespace cc::test;

namespace {
// An address as /proc/net/route writes it ("0002A8C0" is 192.168.2.0), and a dotted one in the same order.
unsigned long Hex(const std::string& hex) { return std::strtoul(hex.c_str(), nullptr, 16); }
unsigned long Ipv4(const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return a | (b << 8) | (c << 16) | (d << 24);
}
bool PrintableAscii(const std::string& s) { return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; }); }
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
TEST(SystemQueries, LoadIsTheBusyShareWhileEveryProcessorSpins) {
    Win32SystemQueries system;
    std::atomic<bool> stop{false};
    SYSTEM_INFO machine;
    GetSystemInfo(&machine);
    std::vector<UniqueNullableHandle> spinners;
    auto spin = [](void* stop) -> DWORD { while (!*static_cast<std::atomic<bool>*>(stop)) {} return 0; };
    for (DWORD n = 0; n < std::max<DWORD>(1, machine.dwNumberOfProcessors); ++n)
        spinners.emplace_back(CreateThread(nullptr, 0, spin, &stop, 0, nullptr));
    auto ticks = [](const FILETIME& t) { return double((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime); };
    FILETIME idle0, kernel0, user0, idle1, kernel1, user1;   // kernel includes idle
    GetSystemTimes(&idle0, &kernel0, &user0);
    system.QueryCpuUsage();
    Sleep(600);
    const int load = system.QueryCpuUsage();
    GetSystemTimes(&idle1, &kernel1, &user1);
    stop = true;
    for (const auto& spinner : spinners) WaitForSingleObject(spinner.get(), INFINITE);
    // The same counters, read around the code's two readings.
    const double total = ticks(kernel1) - ticks(kernel0) + ticks(user1) - ticks(user0);
    ASSERT_GT(total, 0);
    EXPECT_NEAR(load, 100 * (total - (ticks(idle1) - ticks(idle0))) / total, 5);
}
TEST(SystemQueries, AdaptersAreTheMachinesInterfaces) {
    const auto adapters = Win32SystemQueries().QueryAdapters();
    std::set<std::string> linuxMacs;
    ForEachIn(L"Y:\\sys\\class\\net\\", [&](const std::wstring& net, const WIN32_FIND_DATAW&) {
        std::string mac = Trim(ReadWholeFile(net + L"\\address"));
        std::replace(mac.begin(), mac.end(), ':', '-');
        linuxMacs.insert(Upper(mac));
    });
    ASSERT_FALSE(linuxMacs.empty()) << "Y:\\sys\\class\\net unreadable";
    // Every hardware address shown is one of an interface Linux has; either side may list more.
    for (const auto& a : adapters) EXPECT_TRUE(!a.name.empty() && (a.macAddress.empty() || linuxMacs.count(a.macAddress))) << a.macAddress;
    // The default route's gateway is an adapter's, whose address and mask make a subnet Linux routes to.
    std::istringstream routes(ReadWholeFile(L"Y:\\proc\\net\\route"));
    std::string line, iface, to, via, skip, mask;
    unsigned long gateway = 0;
    std::set<std::pair<unsigned long, unsigned long>> subnets;   // destination, mask
    for (std::getline(routes, line); std::getline(routes, line);) {
        std::istringstream f(line);
        if (!(f >> iface >> to >> via >> skip >> skip >> skip >> skip >> mask)) continue;
        if (Hex(via) == 0) subnets.emplace(Hex(to), Hex(mask));
        else if (Hex(to) == 0 && gateway == 0) gateway = Hex(via);
    }
    if (gateway == 0) GTEST_SKIP() << "this machine has no default route through a gateway";
    auto match = std::find_if(adapters.begin(), adapters.end(), [&](const AdapterInfo& a) { return Ipv4(a.defaultGateway) == gateway; });
    ASSERT_NE(match, adapters.end());
    const unsigned long subnetMask = Ipv4(match->subnetMask);
    EXPECT_EQ(subnets.count({Ipv4(match->ipAddress) & subnetMask, subnetMask}), 1u) << match->ipAddress << " / " << match->subnetMask;
    EXPECT_GT(match->index, 0);
}
TEST(SystemQueries, DisksMemoryBoardAndSystemAgreeWithLinuxAndTheEnvironment) {
    Win32SystemQueries system;
    for (int n : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99}) {   // a disk that does not answer leaves the record as it was
        DiskInfo disk;
        disk.model = "untouched";
        const bool answered = system.QueryDiskInfo(n, disk);
        EXPECT_EQ(disk.model != "untouched", answered) << n;
        EXPECT_TRUE(!answered || (n >= 0 && n < 99 && PrintableAscii(disk.model + disk.serialNumber))) << disk.model;
    }
    const std::string meminfo = ReadWholeFile(L"Y:\\proc\\meminfo");
    ASSERT_NE(meminfo.find("MemTotal:"), std::string::npos) << "Y:\\proc\\meminfo unreadable";
    const long long linuxMb = std::atoll(meminfo.c_str() + meminfo.find("MemTotal:") + 9) / 1024;
    const int total = system.QueryMemory(MemoryKind::Total), available = system.QueryMemory(MemoryKind::Available);
    EXPECT_NEAR(total, linuxMb, std::max(2LL, linuxMb / 100));
    EXPECT_TRUE(available > 0 && available <= total) << available << " of " << total;
    const BoardInfo board = system.QueryBoardInfo();
    EXPECT_TRUE(PrintableAscii(board.name + board.manufacturer + board.copyright + board.date + board.serialNumber + board.oemInformation));
    const std::string linuxBoard = Trim(ReadWholeFile(L"Y:\\sys\\class\\dmi\\id\\board_name"));
    EXPECT_TRUE(linuxBoard.empty() || board.name == linuxBoard) << board.name << " / " << linuxBoard;
    const OsInfo os = system.QueryOsInfo();
    wchar_t root[MAX_PATH]{}, user[256]{};
    GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
    GetEnvironmentVariableW(L"USERNAME", user, 256);
    EXPECT_EQ(std::tuple(Upper(os.windowsDirectory), os.currentUser, os.languageCode, system.QuerySystemDirectory()),
              std::tuple(Upper(Narrow(root)), Narrow(user), int(GetUserDefaultLCID() & 0xFFFF), os.systemDirectory + "\\"));
    EXPECT_EQ(os.systemDirectory.rfind(os.windowsDirectory + "\\", 0), 0u) << os.systemDirectory;
    EXPECT_TRUE(os.version.find('.') != std::string::npos && os.dateFormat.find('y') != std::string::npos) << os.version << os.dateFormat;
    EXPECT_FALSE(os.name.empty() || os.language.empty() || os.currencySymbol.empty() || os.timeFormat.empty() || os.timeZone.empty());
    EXPECT_TRUE(os.buildNumber > 0 && os.countryCode > 0) << os.buildNumber << " " << os.countryCode;
}

}  // namespace
