// CPUID decoding on recorded register answers of two processors, with leaves
// missing; the storage descriptor reader; the load between two readings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sysinfo/CpuLoad.h"
#include "sysinfo/CpuidDecoder.h"
#include "sysinfo/StorageDescriptor.h"

using namespace cc;

namespace {

// An Intel Core i7-8700, as recorded.
CpuidAnswers CoffeeLake() {
    CpuidAnswers a;
    a.leaves[{0, 0}] = {0x16, 0x756E6547, 0x6C65746E, 0x49656E69};
    a.leaves[{1, 0}] = {0x000906EA, 0x0C100800, 0x7FFAFBFF, 0xBFEBFBFF};
    a.leaves[{4, 0}] = {0x1C004121, 0x01C0003F, 0x0000003F, 0};
    a.leaves[{4, 1}] = {0x1C004122, 0x01C0003F, 0x0000003F, 0};
    a.leaves[{4, 2}] = {0x1C004143, 0x00C0003F, 0x000003FF, 0};
    a.leaves[{4, 3}] = {0x1C03C163, 0x03C0003F, 0x00002FFF, 6};
    a.leaves[{4, 4}] = {0, 0, 0, 0};
    a.leaves[{0x80000000, 0}] = {0x80000008, 0, 0, 0};
    a.leaves[{0x80000001, 0}] = {0, 0, 0x00000121, 0x2C100800};
    // "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", padded as recorded.
    a.leaves[{0x80000002, 0}] = {0x65746E49, 0x2952286C, 0x726F4320, 0x4D542865};
    a.leaves[{0x80000003, 0}] = {0x37692029, 0x3037382D, 0x50432030, 0x20402055};
    a.leaves[{0x80000004, 0}] = {0x30322E33, 0x007A4847, 0, 0};
    a.leaves[{0x80000006, 0}] = {0, 0, 0x01006040, 0};
    return a;
}

// An AMD EPYC (Zen 2): no leaf 4 caches, the AMD cache leaves instead.
CpuidAnswers Rome() {
    CpuidAnswers a;
    a.leaves[{0, 0}] = {0x10, 0x68747541, 0x444D4163, 0x69746E65};
    a.leaves[{1, 0}] = {0x00830F10, 0, 0, 0x178BFBFF};
    a.leaves[{0x80000001, 0}] = {0x00830F10, 0, 0, 0x2FD3FBFF};
    a.leaves[{0x80000002, 0}] = {0x20444D41, 0x43595045, 0x20202020, 0x20202020};
    a.leaves[{0x80000003, 0}] = {0x20202020, 0x20202020, 0x20202020, 0x20202020};
    a.leaves[{0x80000004, 0}] = {0x20202020, 0x20202020, 0x20202020, 0x00202020};
    a.leaves[{0x80000005, 0}] = {0, 0, 0x20080140, 0x20080140};
    a.leaves[{0x80000006, 0}] = {0, 0, 0x02006140, 0};
    return a;
}

}  // namespace

TEST(SysInfoCpuid, DecodesAnIntelProcessor) {
    const CpuInfo c = DecodeCpu(CoffeeLake());
    EXPECT_EQ(c.vendor, "GenuineIntel");
    EXPECT_EQ(c.name, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    EXPECT_EQ(c.description, "Intel64 Family 6 Model 158 Stepping 10");
    EXPECT_EQ(c.level1Cache, 64);    // 32 KB data + 32 KB instruction
    EXPECT_EQ(c.level2Cache, 256);
    EXPECT_EQ(c.serialNumber, "");   // no serial-number feature
    EXPECT_EQ(c.dataWidth, 64);
    EXPECT_EQ(c.clockMhz, 0);        // not a CPUID fact
}

TEST(SysInfoCpuid, DecodesAnAmdProcessorWithItsOwnCacheLeaves) {
    const CpuInfo c = DecodeCpu(Rome());
    EXPECT_EQ(c.vendor, "AuthenticAMD");
    EXPECT_EQ(c.name, "AMD EPYC");   // the padding is trimmed
    EXPECT_EQ(c.description, "AMD64 Family 23 Model 49 Stepping 0");
    EXPECT_EQ(c.level1Cache, 64);
    EXPECT_EQ(c.level2Cache, 512);
    EXPECT_EQ(c.dataWidth, 64);
}

TEST(SysInfoCpuid, MissingLeavesLeaveTheirFieldsEmpty) {
    EXPECT_EQ(DecodeCpu({}).vendor, "");
    EXPECT_EQ(DecodeCpu({}).dataWidth, 0);
    EXPECT_EQ(DecodeCpu({}).description, "");

    // An old 32-bit processor: basic leaves only, with the serial number turned on.
    CpuidAnswers p3;
    p3.leaves[{0, 0}] = {3, 0x756E6547, 0x6C65746E, 0x49656E69};
    p3.leaves[{1, 0}] = {0x00000683, 0, 0, 0x0387FBFF};
    p3.leaves[{3, 0}] = {0, 0, 0x89ABCDEF, 0x01234567};
    const CpuInfo c = DecodeCpu(p3);
    EXPECT_EQ(c.description, "x86 Family 6 Model 8 Stepping 3");
    EXPECT_EQ(c.dataWidth, 32);
    EXPECT_EQ(c.name, "");
    EXPECT_EQ(c.level1Cache, 0);
    EXPECT_EQ(c.serialNumber, "0000-0683-0123-4567-89AB-CDEF");

    // A brand cut after its first leaf keeps what it has.
    CpuidAnswers cut = CoffeeLake();
    cut.leaves.erase({0x80000003, 0});
    EXPECT_EQ(DecodeBrand(cut), "Intel(R) Core(TM");

    // A leaf-4 list with no end stops after sixteen entries.
    CpuidAnswers endless;
    for (std::uint32_t s = 0; s < 40; ++s) endless.leaves[{4, s}] = {0x21, 0x01C0003F, 0x3F, 0};
    EXPECT_EQ(DecodeLevel1CacheKb(endless), 16 * 32);
}

TEST(SysInfoCpuid, OnlyLeavesTheProcessorOffersAreAsked) {
    EXPECT_TRUE(WantLeaf(4, 0x16, 0x80000008));
    EXPECT_FALSE(WantLeaf(4, 3, 0x80000008));
    EXPECT_TRUE(WantLeaf(0x80000006, 0x16, 0x80000008));
    EXPECT_FALSE(WantLeaf(0x80000006, 0x16, 0x80000004));
    EXPECT_FALSE(WantLeaf(0x80000002, 0x16, 0x00000016));   // no extended leaves at all
}

namespace {

std::vector<std::uint8_t> Descriptor(const char* vendor, const char* product, const char* revision, const char* serial) {
    std::vector<std::uint8_t> d(40, 0);
    auto put = [&](std::size_t field, const char* text) {
        if (!text) return;
        const auto offset = static_cast<std::uint32_t>(d.size());
        std::memcpy(&d[field], &offset, 4);
        d.insert(d.end(), text, text + std::strlen(text) + 1);
    };
    put(12, vendor);
    put(16, product);
    put(20, revision);
    put(24, serial);
    return d;
}

}  // namespace

TEST(SysInfoStorageDescriptor, ReadsTheTextsAtTheirOffsets) {
    auto d = Descriptor(nullptr, "WDC WD5000AAKX-00ERMA0  ", "15.01H15", "     WD-WCC2EJ123456");
    StorageTexts t = ParseStorageDescriptor(d.data(), d.size());
    EXPECT_EQ(t.model, "WDC WD5000AAKX-00ERMA0");
    EXPECT_EQ(t.revision, "15.01H15");
    EXPECT_EQ(t.serialNumber, "WD-WCC2EJ123456");

    d = Descriptor("QEMU    ", "QEMU HARDDISK", "2.5+", nullptr);
    t = ParseStorageDescriptor(d.data(), d.size());
    EXPECT_EQ(t.model, "QEMU QEMU HARDDISK");
    EXPECT_EQ(t.serialNumber, "");
}

TEST(SysInfoStorageDescriptor, OffsetsOutsideTheBytesGiveEmptyTexts) {
    auto d = Descriptor("V", "Product", "1.0", "S123");
    // Cut inside the serial number: it has no end inside the data.
    StorageTexts t = ParseStorageDescriptor(d.data(), d.size() - 2);
    EXPECT_EQ(t.model, "V Product");
    EXPECT_EQ(t.serialNumber, "");
    // An offset far past the end, and one pointing into the header.
    std::uint32_t far = 0x7FFFFFF0, inside = 4;
    std::memcpy(&d[16], &far, 4);
    std::memcpy(&d[20], &inside, 4);
    t = ParseStorageDescriptor(d.data(), d.size());
    EXPECT_EQ(t.model, "V");
    EXPECT_EQ(t.revision, "");
    EXPECT_EQ(ParseStorageDescriptor(d.data(), 20).model, "");   // shorter than the header
    EXPECT_EQ(ParseStorageDescriptor(nullptr, 0).model, "");
}

TEST(SysInfoCpuLoad, IsTheBusyShareOfTheTimeThatPassed) {
    const ProcessorTimes before{1000, 3000, 500};   // kernel includes idle
    EXPECT_EQ(LoadPercent(before, {1750, 4000, 500}), 25);     // 1000 passed, 750 idle
    EXPECT_EQ(LoadPercent(before, {1000, 3600, 900}), 100);    // no idle at all
    EXPECT_EQ(LoadPercent(before, {1900, 3900, 500}), 0);      // all idle
    EXPECT_EQ(LoadPercent(before, before), 0);                 // no time passed
    EXPECT_EQ(LoadPercent(before, {900, 2000, 100}), 0);       // counters went back
    EXPECT_EQ(LoadPercent(before, {2000, 3500, 500}), 0);      // idle beyond the total: not trusted
    EXPECT_EQ(LoadPercent(before, {1001, 3002, 501}), 67);     // 2 of 3 busy, rounded
}
