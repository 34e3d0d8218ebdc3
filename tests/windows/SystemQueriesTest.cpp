// The system queries of the real Win32 layer under Wine, compared with what
// Linux reports for the same machine through the test prefix's Y: drive
// (links to /proc and /sys, laid out by scripts/test-fixtures.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32SystemQueries.h"
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

TEST(SystemQueries, ProcessorIsTheOneLinuxDescribes) {
    Win32SystemQueries system;
    const std::string cpuinfo = test::ReadWholeFile(L"Y:\\proc\\cpuinfo");
    ASSERT_FALSE(cpuinfo.empty()) << "Y:\\proc\\cpuinfo unreadable";
    const CpuInfo cpu = system.QueryCpuInfo();
    EXPECT_EQ(cpu.vendor, ProcField(cpuinfo, "vendor_id"));
    EXPECT_EQ(cpu.name, ProcField(cpuinfo, "model name"));
    const std::string family = ProcField(cpuinfo, "cpu family");
    const std::string model = ProcField(cpuinfo, "model");
    EXPECT_NE(cpu.description.find(" Family " + family + " Model " + model + " Stepping "), std::string::npos)
        << cpu.description;
    const bool longMode = (" " + ProcField(cpuinfo, "flags") + " ").find(" lm ") != std::string::npos;
    EXPECT_EQ(cpu.dataWidth, longMode ? 64 : 32);
    EXPECT_GE(cpu.clockMhz, 0);
    EXPECT_GT(cpu.level1Cache, 0);
    EXPECT_GT(cpu.level2Cache, 0);
    // The record is stable between two readings.
    EXPECT_EQ(system.QueryCpuInfo().name, cpu.name);
}

TEST(SystemQueries, LoadRisesWhileThisThreadSpins) {
    Win32SystemQueries system;
    system.QueryCpuUsage();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    volatile unsigned long spin = 0;
    while (std::chrono::steady_clock::now() < until) spin = spin + 1;
    const int busy = system.QueryCpuUsage();
    EXPECT_GT(busy, 0);
    EXPECT_LE(busy, 100);
    Sleep(200);
    const int later = system.QueryCpuUsage();
    EXPECT_GE(later, 0);
    EXPECT_LE(later, 100);
}

TEST(SystemQueries, AdaptersAreTheMachinesInterfaces) {
    Win32SystemQueries system;
    const auto adapters = system.QueryAdapters();
    std::set<std::string> wineMacs;
    for (const auto& a : adapters) {
        EXPECT_FALSE(a.name.empty());
        if (!a.macAddress.empty() && a.macAddress != "00-00-00-00-00-00") wineMacs.insert(a.macAddress);
        if (!a.ipAddress.empty()) {
            EXPECT_NE(a.ipAddress, "127.0.0.1");
        }
    }
    const auto interfaces = LinuxInterfaces();
    ASSERT_FALSE(interfaces.empty()) << "Y:\\sys\\class\\net unreadable";
    std::set<std::string> linuxMacs;
    for (const auto& name : interfaces) {
        std::string mac = Upper(Trim(test::ReadWholeFile(L"Y:\\sys\\class\\net\\" + Widen(name) + L"\\address")));
        std::replace(mac.begin(), mac.end(), ':', '-');
        if (!mac.empty() && mac != "00-00-00-00-00-00") linuxMacs.insert(mac);
    }
    EXPECT_EQ(wineMacs, linuxMacs);

    // The default route's interface: same gateway and mask, and an address inside that subnet.
    std::istringstream routes(test::ReadWholeFile(L"Y:\\proc\\net\\route"));
    std::string line, iface, destination, gateway, flags, refcnt, use, metric, mask;
    std::string routeIface, routeGateway, subnet, subnetMask;
    std::getline(routes, line);
    while (std::getline(routes, line)) {
        std::istringstream f(line);
        if (!(f >> iface >> destination >> gateway >> flags >> refcnt >> use >> metric >> mask)) continue;
        if (destination == "00000000" && routeIface.empty()) {
            routeIface = iface;
            routeGateway = RouteAddress(gateway);
        } else if (gateway == "00000000" && subnet.empty() && iface != "lo") {
            subnet = RouteAddress(destination);
            subnetMask = RouteAddress(mask);
        }
    }
    if (routeIface.empty()) GTEST_SKIP() << "this machine has no default route";
    std::string mac = Upper(Trim(test::ReadWholeFile(L"Y:\\sys\\class\\net\\" + Widen(routeIface) + L"\\address")));
    std::replace(mac.begin(), mac.end(), ':', '-');
    auto match = std::find_if(adapters.begin(), adapters.end(), [&](const AdapterInfo& a) { return a.macAddress == mac; });
    ASSERT_NE(match, adapters.end()) << routeIface;
    EXPECT_EQ(match->defaultGateway, routeGateway);
    EXPECT_EQ(match->subnetMask, subnetMask);
    EXPECT_EQ(Ipv4(match->ipAddress) & Ipv4(subnetMask), Ipv4(subnet)) << match->ipAddress;
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
