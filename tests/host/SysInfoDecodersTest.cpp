// SMBIOS tables and CPUID answers recorded from real machines, read field by field (that reads stay inside cut or broken
// bytes is the fuzz targets' property); the load between two readings of the time counters; a disk's capacity in GB.
#include <gtest/gtest.h>
#include "formats/CpuLoad.h"
#include "formats/CpuidDecoder.h"
#include "formats/SmbiosParser.h"
#include "sysinfo/InfoTexts.h"
using namespace cc;

namespace {
using Bytes = std::vector<std::uint8_t>;
// A structure: its formatted bytes, then its strings and the ending zero(s).
void Add(Bytes& to, std::initializer_list<int> formatted, std::initializer_list<std::string> strings = {}) {
    for (int b : formatted) to.push_back(static_cast<std::uint8_t>(b));
    for (const std::string& s : strings) to.insert(to.end(), s.c_str(), s.c_str() + s.size() + 1);
    if (strings.size() == 0) to.push_back(0);
    to.push_back(0);
}
Bytes WithHeader(const Bytes& structures) {
    const auto n = static_cast<std::uint32_t>(structures.size());
    Bytes raw{0, 2, 8, 0, std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
    return raw.insert(raw.end(), structures.begin(), structures.end()), raw;
}
// As a QEMU-style firmware gives it: BIOS, system, board, OEM strings, end.
Bytes RecordedStructures() {
    Bytes t;
    Add(t, {0x00, 0x18, 0x00, 0x00, 1, 2, 0, 0xE8, 3, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0x1C, 0, 0, 0xFF, 0xFF},
        {"SeaBIOS", "1.16.2-debian-1.16.2-1", "04/01/2014"});
    Add(t, {0x01, 0x1B, 0x00, 0x01, 1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 6, 0, 0},
        {"QEMU", "Standard PC (Q35 + ICH9, 2009)", "pc-q35-8.2", "SYS-0042"});
    Add(t, {0x02, 0x0F, 0x00, 0x02, 1, 2, 3, 4, 0, 1, 0, 0, 0, 0x0A, 0},
        {"  ASUSTeK COMPUTER INC.  ", "PRIME B450M-A", "Rev X.0x", "MB-1234567890"});
    Add(t, {0x0B, 0x05, 0x00, 0x03, 1}, {"oem one"});   // not used, but stepped over
    Add(t, {0x7F, 0x04, 0x00, 0x04});
    return t;
}
BoardInfo Parse(const Bytes& raw) { return ParseSmbiosBoard(raw.empty() ? nullptr : raw.data(), raw.size()); }
std::string FieldsOf(const BoardInfo& b) {
    return b.name + "|" + b.manufacturer + "|" + b.copyright + "|" + b.date + "|" + b.serialNumber + "|" + b.oemInformation;
}

// An Intel Core i7-8700, as recorded.
const CpuidAnswers kCoffeeLake{{
    {{0, 0}, {0x16, 0x756E6547, 0x6C65746E, 0x49656E69}}, {{1, 0}, {0x000906EA, 0x0C100800, 0x7FFAFBFF, 0xBFEBFBFF}},
    {{4, 0}, {0x1C004121, 0x01C0003F, 0x0000003F, 0}},    {{4, 1}, {0x1C004122, 0x01C0003F, 0x0000003F, 0}},
    {{4, 2}, {0x1C004143, 0x00C0003F, 0x000003FF, 0}},    {{4, 3}, {0x1C03C163, 0x03C0003F, 0x00002FFF, 6}},
    {{4, 4}, {0, 0, 0, 0}}, {{0x80000000, 0}, {0x80000008, 0, 0, 0}}, {{0x80000001, 0}, {0, 0, 0x00000121, 0x2C100800}},
    {{0x80000002, 0}, {0x65746E49, 0x2952286C, 0x726F4320, 0x4D542865}},
    {{0x80000003, 0}, {0x37692029, 0x3037382D, 0x50432030, 0x20402055}},
    {{0x80000004, 0}, {0x30322E33, 0x007A4847, 0, 0}}, {{0x80000006, 0}, {0, 0, 0x01006040, 0}}}};
// An AMD EPYC (Zen 2): no leaf 4 caches, the AMD cache leaves instead, and a padded brand.
constexpr std::uint32_t kPad = 0x20202020;
const CpuidAnswers kRome{{
    {{0, 0}, {0x10, 0x68747541, 0x444D4163, 0x69746E65}}, {{1, 0}, {0x00830F10, 0, 0, 0x178BFBFF}},
    {{0x80000001, 0}, {0x00830F10, 0, 0, 0x2FD3FBFF}},    {{0x80000002, 0}, {0x20444D41, 0x43595045, kPad, kPad}},
    {{0x80000003, 0}, {kPad, kPad, kPad, kPad}},           {{0x80000004, 0}, {kPad, kPad, kPad, 0x00202020}},
    {{0x80000005, 0}, {0, 0, 0x20080140, 0x20080140}},    {{0x80000006, 0}, {0, 0, 0x02006140, 0}}}};
// An old 32-bit processor: basic leaves only, with the serial number turned on.
const CpuidAnswers kPentiumThree{{{{0, 0}, {3, 0x756E6547, 0x6C65746E, 0x49656E69}},
    {{1, 0}, {0x00000683, 0, 0, 0x0387FBFF}}, {{3, 0}, {0, 0, 0x89ABCDEF, 0x01234567}}}};
std::string FieldsOf(const CpuInfo& c) {
    return c.vendor + "|" + c.name + "|" + std::to_string(c.clockMhz) + "|" + c.description + "|" +
           std::to_string(c.level1Cache) + "|" + std::to_string(c.level2Cache) + "|" + c.serialNumber + "|" +
           std::to_string(c.dataWidth);
}
}  // namespace

TEST(SysInfoSmbios, ReadsTheBoardTheSystemAndTheFirmware) {
    Bytes structures = RecordedStructures();   // and a board inside the table's length but past its end: ignored
    Add(structures, {0x02, 0x08, 0x00, 0x09, 1, 2, 0, 0}, {"After", "The End"});
    const Bytes raw = WithHeader(structures);
    EXPECT_EQ(FieldsOf(Parse(raw)), "PRIME B450M-A|ASUSTeK COMPUTER INC.|SeaBIOS 1.16.2-debian-1.16.2-1|04/01/2014|"
                                    "MB-1234567890|QEMU Standard PC (Q35 + ICH9, 2009)");
    const auto all = ParseSmbiosStructures(raw.data(), raw.size());   // the OEM strings stepped over; the end has none
    EXPECT_TRUE(all.size() == 5 && all[3].strings == std::vector<std::string>{"oem one"} && all[4].strings.empty());
    Bytes system;   // without a board structure the system stands in, after a structure without strings
    Add(system, {0x20, 0x06, 0x00, 0x05, 0, 0});
    Add(system, {0x01, 0x08, 0x00, 0x01, 1, 2, 0, 3}, {"Dell Inc.", "OptiPlex 7010", "SN-77"});
    EXPECT_EQ(FieldsOf(Parse(WithHeader(system))), "OptiPlex 7010|Dell Inc.|||SN-77|Dell Inc. OptiPlex 7010");
}

TEST(SysInfoCpuid, DecodesRecordedProcessors) {
    // The clock is not a CPUID fact; level 1 is data and instruction together.
    EXPECT_EQ(FieldsOf(DecodeCpu(kCoffeeLake)), "GenuineIntel|Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz|0|"
                                               "Intel64 Family 6 Model 158 Stepping 10|64|256||64");
    EXPECT_EQ(FieldsOf(DecodeCpu(kRome)), "AuthenticAMD|AMD EPYC|0|AMD64 Family 23 Model 49 Stepping 0|64|512||64");
    EXPECT_EQ(FieldsOf(DecodeCpu(kPentiumThree)), "GenuineIntel||0|x86 Family 6 Model 8 Stepping 3|0|0|0000-0683-0123-4567-89AB-CDEF|32");
    EXPECT_EQ(FieldsOf(DecodeCpu({})), "||0||0|0||0");
}

TEST(SysInfoCpuid, MissingAndEndlessLeaves) {
    using Leaves = decltype(CpuidAnswers::leaves);
    auto with = [](CpuidAnswers answers, auto change) { return change(answers.leaves), answers; };
    const auto endless = with({}, [](Leaves& l) { for (std::uint32_t s = 0; s < 40; ++s) l[{4, s}] = {0x21, 0x01C0003F, 0x3F, 0}; });
    EXPECT_EQ(DecodeLevel1CacheKb(endless), 16 * 32);   // a leaf-4 list with no end stops after sixteen entries
    // Only the leaves the processor offers are asked: (leaf, highest basic, highest extended).
    EXPECT_TRUE(WantLeaf(4, 4, 0x80000008) && WantLeaf(0x80000006, 0x16, 0x80000006) && WantLeaf(0x80000000, 0x16, 0x80000000));
    EXPECT_FALSE(WantLeaf(4, 3, 0x80000008) || WantLeaf(0x80000006, 0x16, 0x80000004) || WantLeaf(0x80000002, 0x16, 0x16));
    // No serial number when leaf 3 answers but the feature is turned off, nor without leaf 1.
    EXPECT_EQ(DecodeSerialNumber(with(kPentiumThree, [](Leaves& l) { l[{1, 0}].edx &= ~(1u << 18); })), "");
    EXPECT_EQ(DecodeSerialNumber(with(kPentiumThree, [](Leaves& l) { l.erase({1, 0}); })), "");
    // Leaf-4 caches claiming 2^64 bytes each: the size saturates.
    EXPECT_EQ(DecodeLevel1CacheKb(with({}, [](Leaves& l) { l[{4, 0}] = l[{4, 1}] = {0x21, 0xFFFFFFFF, 0xFFFFFFFF, 0}; })), INT32_MAX);
}

TEST(SysInfoCpuLoad, IsTheBusyShareOfTheTimeThatPassed) {
    const ProcessorTimes before{1000, 3000, 500};   // idle, kernel (idle included), user
    const std::pair<ProcessorTimes, int> cases[] = {   // 1000 passed, 750 idle; user only; all idle; none passed
        {{1750, 4000, 500}, 25}, {{1000, 3000, 600}, 100}, {{1900, 3900, 500}, 0}, {before, 0},
        {{2000, 3500, 500}, 0},  {{1001, 3002, 501}, 67},  {{999, 3001, 500}, 0},   // idle > total; rounded; idle back
        {{1000, 2999, 501}, 0},  {{1000, 3001, 499}, 0},   {{1000, 2999, 600}, 0}};   // kernel back; user back; kernel back, user on
    for (const auto& [after, load] : cases)
        EXPECT_EQ(LoadPercent(before, after), load) << after.idle << " " << after.kernel << " " << after.user;
}

TEST(SysInfoTexts, CapacityIsGigabytesRoundedToThreePlacesWithoutTrailingZeros) {
    const std::pair<int, const char*> cases[] = {{1000, "0.977"}, {1536, "1.5"},  {1024, "1"},        {0, "0"},
                                                 {1, "0.001"},    {1126, "1.1"}, {953869, "931.513"}, {-1536, "-1.5"},
                                                 {0x7FFFFFFF, "2097151.999"}};
    for (const auto& [megabytes, text] : cases) EXPECT_EQ(CapacityText(megabytes), text) << megabytes;
}

TEST(SysInfoTexts, CachesShowInTheUnitOfTheirSize) {
    const std::pair<int, const char*> cases[] = {{112, "112 KB"}, {1023, "1023 KB"}, {1024, "1 MB"}, {2048, "2 MB"},
                                                 {1536, "1.5 MB"}, {1100, "1.1 MB"},  {0, "0 MB"},    {0x7FFFFFFF, "2097152.0 MB"}};
    for (const auto& [kilobytes, text] : cases) EXPECT_EQ(CacheSizeText(kilobytes), text) << kilobytes;
    // The decoded processors' caches on the CPU page, in the text's own lines.
    const std::string coffeeLake = CpuText(DecodeCpu(kCoffeeLake)), pentium = CpuText(DecodeCpu(kPentiumThree));
    EXPECT_NE(coffeeLake.find("\r\n 一级缓存大小 …64 KB\r\n 二级缓存大小 …256 KB\r\n"), std::string::npos) << coffeeLake;
    EXPECT_NE(pentium.find("\r\n 一级缓存大小 …0 MB\r\n 二级缓存大小 …0 MB\r\n"), std::string::npos) << pentium;
}
