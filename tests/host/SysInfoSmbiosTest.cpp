// The SMBIOS reader on a recorded table, and on every truncation of it and
// some broken ones: it must give what it can and never read past the bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sysinfo/SmbiosParser.h"

using namespace cc;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& to, std::initializer_list<int> bytes) {
    for (int b : bytes) to.push_back(static_cast<std::uint8_t>(b));
}
void AppendStrings(Bytes& to, std::initializer_list<const char*> strings) {
    for (const char* s : strings) {
        for (const char* p = s; *p; ++p) to.push_back(static_cast<std::uint8_t>(*p));
        to.push_back(0);
    }
    if (strings.size() == 0) to.push_back(0);
    to.push_back(0);
}

Bytes WithHeader(const Bytes& structures) {
    Bytes raw;
    const auto n = static_cast<std::uint32_t>(structures.size());
    Append(raw, {0, 2, 8, 0, int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF), int(n >> 24)});
    raw.insert(raw.end(), structures.begin(), structures.end());
    return raw;
}

// A table as a QEMU-style firmware gives it: BIOS, system, board, OEM strings, end.
Bytes RecordedStructures() {
    Bytes t;
    // Type 0, length 0x18: vendor 1, version 2, start segment, release date 3, ROM size, characteristics...
    Append(t, {0x00, 0x18, 0x00, 0x00, 0x01, 0x02, 0x00, 0xE8, 0x03, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
               0x00, 0x00, 0x1C, 0x00, 0x00, 0xFF, 0xFF});
    AppendStrings(t, {"SeaBIOS", "1.16.2-debian-1.16.2-1", "04/01/2014"});
    // Type 1, length 0x1B: manufacturer 1, product 2, version 3, serial 4, UUID, wake-up, SKU, family.
    Append(t, {0x01, 0x1B, 0x00, 0x01, 0x01, 0x02, 0x03, 0x04, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
               0x06, 0x00, 0x00});
    AppendStrings(t, {"QEMU", "Standard PC (Q35 + ICH9, 2009)", "pc-q35-8.2", "SYS-0042"});
    // Type 2, length 0x0F: manufacturer 1, product 2, version 3, serial 4, asset 0 ...
    Append(t, {0x02, 0x0F, 0x00, 0x02, 0x01, 0x02, 0x03, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x0A, 0x00});
    AppendStrings(t, {"  ASUSTeK COMPUTER INC.  ", "PRIME B450M-A", "Rev X.0x", "MB-1234567890"});
    // Type 11, OEM strings: not used, but its string set must be stepped over.
    Append(t, {0x0B, 0x05, 0x00, 0x03, 0x01});
    AppendStrings(t, {"oem one"});
    // End of table.
    Append(t, {0x7F, 0x04, 0x00, 0x04});
    AppendStrings(t, {});
    return t;
}

BoardInfo Parse(const Bytes& raw) { return ParseSmbiosBoard(raw.data(), raw.size()); }

}  // namespace

TEST(SysInfoSmbios, ReadsTheBoardTheSystemAndTheFirmware) {
    const BoardInfo b = Parse(WithHeader(RecordedStructures()));
    EXPECT_EQ(b.name, "PRIME B450M-A");
    EXPECT_EQ(b.manufacturer, "ASUSTeK COMPUTER INC.");
    EXPECT_EQ(b.copyright, "SeaBIOS 1.16.2-debian-1.16.2-1");
    EXPECT_EQ(b.date, "04/01/2014");
    EXPECT_EQ(b.serialNumber, "MB-1234567890");
    EXPECT_EQ(b.oemInformation, "QEMU Standard PC (Q35 + ICH9, 2009)");

    const auto all = ParseSmbiosStructures(WithHeader(RecordedStructures()).data(), WithHeader(RecordedStructures()).size());
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[3].type, 11);
    EXPECT_EQ(all[3].strings, std::vector<std::string>{"oem one"});
    EXPECT_EQ(all[4].type, 127);
    EXPECT_TRUE(all[4].strings.empty());
}

TEST(SysInfoSmbios, WithoutABoardStructureTheSystemStandsIn) {
    Bytes t;
    Append(t, {0x01, 0x08, 0x00, 0x01, 0x01, 0x02, 0x00, 0x03});
    AppendStrings(t, {"Dell Inc.", "OptiPlex 7010", "SN-77"});
    const BoardInfo b = Parse(WithHeader(t));
    EXPECT_EQ(b.name, "OptiPlex 7010");
    EXPECT_EQ(b.manufacturer, "Dell Inc.");
    EXPECT_EQ(b.serialNumber, "SN-77");
    EXPECT_EQ(b.copyright, "");
    EXPECT_EQ(b.date, "");
}

TEST(SysInfoSmbios, EveryTruncationStaysInsideTheBytes) {
    const Bytes full = WithHeader(RecordedStructures());
    const BoardInfo whole = Parse(full);
    for (std::size_t size = 0; size <= full.size(); ++size) {
        // An exact-size copy on the heap, so a read past it is caught by the sanitizer or the allocator.
        Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        const BoardInfo b = ParseSmbiosBoard(cut.empty() ? nullptr : cut.data(), cut.size());
        // A field is what the whole table says, the system's stand-in while
        // the board structure is cut off, or not there yet.
        EXPECT_TRUE(b.name.empty() || b.name == whole.name || b.name == "Standard PC (Q35 + ICH9, 2009)")
            << size << ": " << b.name;
        EXPECT_TRUE(b.serialNumber.empty() || b.serialNumber == whole.serialNumber || b.serialNumber == "SYS-0042")
            << size << ": " << b.serialNumber;
        EXPECT_TRUE(b.date.empty() || b.date == whole.date) << size << ": " << b.date;
        if (size == full.size()) EXPECT_EQ(b.name, whole.name);
    }
    // The header's length can lie: more than there is, or less.
    Bytes lying = full;
    lying[4] = 0xFF; lying[5] = 0xFF; lying[6] = 0xFF; lying[7] = 0x7F;
    EXPECT_EQ(Parse(lying).name, "PRIME B450M-A");
    Bytes shortened = full;
    shortened[4] = 0x20; shortened[5] = 0; shortened[6] = 0; shortened[7] = 0;
    EXPECT_EQ(Parse(shortened).date, "");   // the BIOS strings lie past the declared end
}

TEST(SysInfoSmbios, BrokenStructuresStopTheWalk) {
    // A length below the 4-byte header would loop forever if trusted.
    Bytes zeroLength;
    Append(zeroLength, {0x02, 0x00, 0x00, 0x00, 0x01});
    EXPECT_TRUE(ParseSmbiosStructures(WithHeader(zeroLength).data(), WithHeader(zeroLength).size()).empty());

    // A length running past the end.
    Bytes tooLong;
    Append(tooLong, {0x02, 0x40, 0x00, 0x00, 0x01, 0x02});
    EXPECT_TRUE(Parse(WithHeader(tooLong)).name.empty());

    // String numbers beyond the set, and a string with no terminator.
    Bytes badStrings;
    Append(badStrings, {0x02, 0x08, 0x00, 0x00, 0x09, 0x01, 0x00, 0xFF});
    for (char c : std::string("Board")) badStrings.push_back(static_cast<std::uint8_t>(c));
    const BoardInfo b = Parse(WithHeader(badStrings));
    EXPECT_EQ(b.manufacturer, "");   // string 9 of none
    EXPECT_EQ(b.name, "");           // string 1 never ended
    EXPECT_EQ(b.serialNumber, "");

    // Control bytes and bytes above ASCII are dropped from firmware strings.
    Bytes odd;
    Append(odd, {0x02, 0x08, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00});
    Append(odd, {'A', 0x07, 'B', 0xC8, 'C', 0});
    Append(odd, {0x20, 0x20, 0});
    Append(odd, {0});
    const BoardInfo o = Parse(WithHeader(odd));
    EXPECT_EQ(o.manufacturer, "ABC");
    EXPECT_EQ(o.name, "");
}

TEST(SysInfoSmbios, NothingAtAllGivesEmptyFields) {
    const BoardInfo b = ParseSmbiosBoard(nullptr, 0);
    EXPECT_EQ(b.name, "");
    EXPECT_EQ(b.oemInformation, "");
    const Bytes headerOnly = WithHeader({});
    EXPECT_TRUE(ParseSmbiosStructures(headerOnly.data(), headerOnly.size()).empty());
}
