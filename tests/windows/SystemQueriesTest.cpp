// The system queries of the real Win32 layer under Wine, compared with what
// the same source tells the test directly: the processor itself, the system's
// counters and registry, or Linux through the test prefix's Y: drive (links to
// /proc and /sys, laid out by scripts/test-fixtures.sh). Either side may know
// more than the other; only what both read from one source must agree.
#include <gtest/gtest.h>

#include <windows.h>
#include <cpuid.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "TestFiles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32SystemQueries.h"
#include "sysinfo/CpuidDecoder.h"
#include "sysinfo/SmbiosParser.h"

using namespace cc;

namespace {

std::string Trim(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    std::size_t first = 0;
    while (first < s.size() && std::isspace(static_cast<unsigned char>(s[first]))) ++first;
    return s.substr(first);
}

// The value of the first "key : value" line of a /proc file.
std::string ProcField(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon != std::string::npos && Trim(line.substr(0, colon)) == key) return Trim(line.substr(colon + 1));
    }
    return {};
}

std::vector<std::string> LinuxInterfaces() {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Y:\\sys\\class\\net\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name != "." && name != ".." && name != "lo") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "0002A8C0" in /proc/net/route is 192.168.2.0, low byte first.
std::string RouteAddress(const std::string& hex) {
    const unsigned long v = std::strtoul(hex.c_str(), nullptr, 16);
    return std::to_string(v & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) +
           "." + std::to_string((v >> 24) & 0xFF);
}

unsigned long Ipv4(const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4) return 0;
    return (a << 24) | (b << 16) | (c << 8) | d;
}

constexpr const wchar_t* kProcessorKey = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

std::wstring ProcessorKeyText(const wchar_t* name) {
    wchar_t text[256]{};
    DWORD size = sizeof text - sizeof(wchar_t);
    RegGetValueW(HKEY_LOCAL_MACHINE, kProcessorKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// The processor asked directly, not through the code under test.
CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) {
    CpuidRegisters r;
    __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

std::string Bytes(std::initializer_list<std::uint32_t> registers) {
    std::string text;
    for (std::uint32_t r : registers) text.append(reinterpret_cast<const char*>(&r), 4);
    return text;
}

// Every basic and extended leaf the processor offers, and 32 subleaves of leaf 4.
CpuidAnswers EveryLeaf() {
    CpuidAnswers answers;
    const std::uint32_t maxBasic = Cpuid(0).eax, maxExtended = Cpuid(0x80000000).eax;
    for (std::uint32_t leaf = 0; leaf <= maxBasic && leaf < 0x100; ++leaf)
        for (std::uint32_t sub = 0; sub < (leaf == 4 ? 32u : 1u); ++sub) answers.leaves[{leaf, sub}] = Cpuid(leaf, sub);
    for (std::uint32_t leaf = 0x80000000; leaf <= maxExtended && leaf < 0x80000100; ++leaf)
        answers.leaves[{leaf, 0}] = Cpuid(leaf);
    return answers;
}

struct Times {
    ULONGLONG idle, kernel, user;
};

Times SystemTimes() {
    FILETIME idle{}, kernel{}, user{};
    GetSystemTimes(&idle, &kernel, &user);
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return {ticks(idle), ticks(kernel), ticks(user)};
}

bool PrintableAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

}  // namespace

TEST(SystemQueries, TotalMemoryIsWhatLinuxCountsAndAvailableFitsInIt) {
    Win32SystemQueries system;
    const std::string meminfo = test::ReadWholeFile(L"Y:\\proc\\meminfo");
    ASSERT_FALSE(meminfo.empty()) << "Y:\\proc\\meminfo unreadable";
    const long long linuxMb = std::atoll(ProcField(meminfo, "MemTotal").c_str()) / 1024;
    ASSERT_GT(linuxMb, 0);
    const int total = system.QueryMemory(MemoryKind::Total);
    const int available = system.QueryMemory(MemoryKind::Available);
    EXPECT_NEAR(total, linuxMb, std::max(2LL, linuxMb / 100)) << "Linux says " << linuxMb << " MB";
    EXPECT_GT(available, 0);
    EXPECT_LE(available, total);
}

TEST(SystemQueries, ProcessorIsTheOneCpuidDescribes) {
    Win32SystemQueries system;
    const CpuInfo cpu = system.QueryCpuInfo();
    const CpuidRegisters v = Cpuid(0);
    EXPECT_EQ(cpu.vendor, Bytes({v.ebx, v.edx, v.ecx}));
    std::string brand;
    if (Cpuid(0x80000000).eax >= 0x80000004)
        for (std::uint32_t leaf = 0x80000002; leaf <= 0x80000004; ++leaf) {
            const CpuidRegisters r = Cpuid(leaf);
            brand += Bytes({r.eax, r.ebx, r.ecx, r.edx});
        }
    EXPECT_EQ(cpu.name, Trim(brand.c_str()));   // up to the first NUL, without the padding
    EXPECT_EQ(cpu.dataWidth, 64);               // this 64-bit program runs, so the processor has long mode
    // Family, model and stepping as the system names this processor in its own description.
    auto afterPrefix = [](const std::string& s) { return s.substr(std::min(s.find(' '), s.size())); };
    const std::string identifier = Narrow(ProcessorKeyText(L"Identifier"));
    ASSERT_FALSE(afterPrefix(identifier).empty()) << identifier;
    EXPECT_EQ(afterPrefix(cpu.description), afterPrefix(identifier));
    // Every leaf the processor offers, asked here, decodes to the same record: the reader asks for all
    // the leaves the decoder needs, whichever this processor or its hypervisor hides.
    const CpuInfo all = DecodeCpu(EveryLeaf());
    EXPECT_EQ(std::tie(cpu.level1Cache, cpu.level2Cache, cpu.serialNumber, cpu.description),
              std::tie(all.level1Cache, all.level2Cache, all.serialNumber, all.description));
    DWORD mhz = 0, size = sizeof mhz;
    RegGetValueW(HKEY_LOCAL_MACHINE, kProcessorKey, L"~MHz", RRF_RT_REG_DWORD, nullptr, &mhz, &size);
    EXPECT_EQ(cpu.clockMhz, static_cast<int>(mhz));
}

TEST(SystemQueries, LoadIsTheBusyShareWhileEveryProcessorSpins) {
    Win32SystemQueries system;
    std::atomic<bool> stop{false};
    std::vector<std::thread> spinners(std::max(1u, std::thread::hardware_concurrency()));
    for (auto& t : spinners) t = std::thread([&stop] { while (!stop) {} });
    const Times before = SystemTimes();
    system.QueryCpuUsage();
    Sleep(600);
    const int load = system.QueryCpuUsage();
    const Times after = SystemTimes();
    stop = true;
    for (auto& t : spinners) t.join();
    // The same counters read around the code's two readings; kernel time includes idle time.
    const double total = double(after.kernel - before.kernel) + double(after.user - before.user);
    ASSERT_GT(total, 0);
    EXPECT_NEAR(load, 100 * (total - double(after.idle - before.idle)) / total, 5);
}

TEST(SystemQueries, AdaptersAreTheMachinesInterfaces) {
    Win32SystemQueries system;
    const auto adapters = system.QueryAdapters();
    const auto interfaces = LinuxInterfaces();
    ASSERT_FALSE(interfaces.empty()) << "Y:\\sys\\class\\net unreadable";
    std::set<std::string> linuxMacs;
    for (const auto& name : interfaces) {
        std::string mac = Upper(Trim(test::ReadWholeFile(L"Y:\\sys\\class\\net\\" + Widen(name) + L"\\address")));
        std::replace(mac.begin(), mac.end(), ':', '-');
        linuxMacs.insert(mac);
    }
    // Every hardware address shown is one of an interface Linux has; either side may list more.
    for (const auto& a : adapters) {
        EXPECT_FALSE(a.name.empty());
        EXPECT_NE(a.ipAddress, "127.0.0.1");
        if (!a.macAddress.empty()) {
            EXPECT_EQ(linuxMacs.count(a.macAddress), 1u) << a.macAddress;
        }
    }

    // The default route: an adapter has its gateway, and an address and mask of a subnet on that interface.
    std::istringstream routes(test::ReadWholeFile(L"Y:\\proc\\net\\route"));
    std::string line, iface, destination, gateway, flags, refcnt, use, metric, mask, routeIface, routeGateway;
    std::vector<std::array<std::string, 3>> subnets;   // interface, destination, mask
    std::getline(routes, line);
    while (std::getline(routes, line)) {
        std::istringstream f(line);
        if (!(f >> iface >> destination >> gateway >> flags >> refcnt >> use >> metric >> mask)) continue;
        if (destination == "00000000" && gateway != "00000000" && routeIface.empty()) {
            routeIface = iface;
            routeGateway = RouteAddress(gateway);
        } else if (gateway == "00000000") {
            subnets.push_back({iface, RouteAddress(destination), RouteAddress(mask)});
        }
    }
    if (routeIface.empty()) GTEST_SKIP() << "this machine has no default route through a gateway";
    auto match = std::find_if(adapters.begin(), adapters.end(),
                              [&](const AdapterInfo& a) { return a.defaultGateway == routeGateway; });
    ASSERT_NE(match, adapters.end()) << routeGateway;
    EXPECT_TRUE(std::any_of(subnets.begin(), subnets.end(), [&](const auto& s) {
        return s[0] == routeIface && match->subnetMask == s[2] && (Ipv4(match->ipAddress) & Ipv4(s[2])) == Ipv4(s[1]);
    })) << match->ipAddress << " / " << match->subnetMask << " on " << routeIface;
    EXPECT_GT(match->index, 0);
}

TEST(SystemQueries, DisksThatAnswerAreDescribedAndOthersLeaveTheRecord) {
    Win32SystemQueries system;
    DiskInfo sentinel;
    sentinel.model = "untouched";
    sentinel.heads = 7;
    DiskInfo record = sentinel;
    EXPECT_FALSE(system.QueryDiskInfo(-1, record));
    EXPECT_FALSE(system.QueryDiskInfo(99, record));
    EXPECT_EQ(record.model, "untouched");
    EXPECT_EQ(record.heads, 7);
    for (int n = 0; n <= 10; ++n) {
        DiskInfo disk = sentinel;
        if (!system.QueryDiskInfo(n, disk)) {
            EXPECT_EQ(disk.model, "untouched") << n;
            continue;
        }
        EXPECT_NE(disk.model, "untouched") << n;
        EXPECT_TRUE(PrintableAscii(disk.model) && PrintableAscii(disk.serialNumber)) << n;
        EXPECT_GE(disk.capacityMegabytes, 0);
        if (disk.heads > 0 && disk.sectorsPerTrack > 0 && disk.cylinders > 0) {
            EXPECT_GE(static_cast<long long>(disk.capacityMegabytes) * 2048,
                      static_cast<long long>(disk.cylinders) * disk.heads * disk.sectorsPerTrack - 2048);
        }
    }
}

TEST(SystemQueries, BoardTableParsesAsFarAsWineGivesIt) {
    Win32SystemQueries system;
    const auto table = ReadSmbiosTable();
    const BoardInfo board = system.QueryBoardInfo();
    for (const auto* field : {&board.name, &board.manufacturer, &board.copyright, &board.date, &board.serialNumber,
                              &board.oemInformation})
        EXPECT_TRUE(PrintableAscii(*field)) << *field;
    if (table.empty()) {
        EXPECT_TRUE(board.name.empty() && board.date.empty());
        return;
    }
    ASSERT_GE(table.size(), 8u);
    const auto structures = ParseSmbiosStructures(table.data(), table.size());
    EXPECT_FALSE(structures.empty());
    // The firmware's board name, as Linux reads it, where the machine has one.
    const std::string linuxBoard = Trim(test::ReadWholeFile(L"Y:\\sys\\class\\dmi\\id\\board_name"));
    if (!linuxBoard.empty()) {
        EXPECT_EQ(board.name, linuxBoard);
    }
}

TEST(SystemQueries, OperatingSystemFactsAgreeWithEachOther) {
    Win32SystemQueries system;
    const OsInfo os = system.QueryOsInfo();
    EXPECT_FALSE(os.name.empty());
    EXPECT_NE(os.version.find('.'), std::string::npos) << os.version;
    EXPECT_GT(os.buildNumber, 0);
    EXPECT_FALSE(os.windowsDirectory.empty());
    EXPECT_EQ(os.systemDirectory.rfind(os.windowsDirectory, 0), 0u) << os.systemDirectory;
    EXPECT_EQ(system.QuerySystemDirectory(), os.systemDirectory + "\\");
    wchar_t root[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);
    EXPECT_EQ(Upper(os.windowsDirectory), Upper(Narrow(root)));
    wchar_t user[256];
    if (GetEnvironmentVariableW(L"USERNAME", user, 256) > 0) {
        EXPECT_EQ(os.currentUser, Narrow(user));
    }
    EXPECT_NE(os.languageCode, 0);
    EXPECT_FALSE(os.language.empty());
    EXPECT_GT(os.countryCode, 0);
    EXPECT_FALSE(os.currencySymbol.empty());
    EXPECT_NE(os.dateFormat.find('y'), std::string::npos) << os.dateFormat;
    EXPECT_FALSE(os.timeFormat.empty());
    EXPECT_FALSE(os.timeZone.empty());
}
