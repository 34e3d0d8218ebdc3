#include "formats/SmbiosParser.h"

#include <algorithm>

#include "formats/ByteReader.h"

namespace cc {

namespace {

constexpr std::size_t kTableLengthAt = 4, kRawHeaderSize = 8;   // the firmware call's own header
constexpr std::size_t kTypeAt = 0, kLengthAt = 1, kStructureHeaderSize = 4;
constexpr std::uint8_t kEndOfTable = 127;

constexpr std::uint8_t kBiosType = 0;
constexpr std::uint8_t kSystemType = 1;
constexpr std::uint8_t kBaseboardType = 2;

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The string set after a structure: strings ended by 0, the set ended by a
// further 0 (two zeros when there is no string at all). False when the table
// ends first; a string running off it is left out.
bool ReadStrings(ByteReader& table, std::vector<std::string>& strings) {
    if (ByteReader none = table; none.u16() == 0 && none.ok()) {
        table = none;
        return true;
    }
    while (table.remaining() != 0) {
        std::string text;
        // Firmware strings are plain bytes; keep only printable ASCII so the text stays valid UTF-8.
        for (std::uint8_t c = table.u8(); c != 0; c = table.u8())
            if (c >= 0x20 && c < 0x7F) text.push_back(static_cast<char>(c));
        if (!table.ok()) return false;
        strings.push_back(Trimmed(std::move(text)));
        if (ByteReader end = table; end.u8() == 0 && end.ok()) {
            table = end;
            return true;
        }
    }
    return false;
}

const SmbiosStructure* FindFirst(const std::vector<SmbiosStructure>& all, std::uint8_t type) {
    for (const auto& s : all)
        if (s.type == type) return &s;
    return nullptr;
}

std::string StringOf(const SmbiosStructure* s, std::size_t offset) { return s ? s->stringAt(offset) : std::string(); }

std::string FirstNonEmpty(std::string a, std::string b) { return a.empty() ? b : a; }

std::string Joined(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + " " + b;
}

}  // namespace

std::string SmbiosStructure::stringAt(std::size_t offset) const {
    const std::size_t number = ByteReader(formatted).seek(offset).u8();   // 0 when the structure is shorter
    if (number == 0 || number > strings.size()) return {};
    return strings[number - 1];
}

std::vector<SmbiosStructure> ParseSmbiosStructures(const std::uint8_t* data, std::size_t size) {
    std::vector<SmbiosStructure> all;
    if (data == nullptr || size < kRawHeaderSize) return all;
    ByteReader raw({data, size});
    // Trust the declared length only as far as the bytes really given.
    const std::size_t declared = raw.seek(kTableLengthAt).u32();
    ByteReader table = raw.seek(kRawHeaderSize).sub(std::min(declared, raw.remaining()));
    while (table.remaining() >= kStructureHeaderSize) {
        const std::uint8_t length = ByteReader(table).skip(kLengthAt).u8();
        const std::span<const std::uint8_t> formatted = table.bytes(length);
        if (length < kStructureHeaderSize || !table.ok()) break;
        SmbiosStructure& s = all.emplace_back();
        s.type = formatted[kTypeAt];
        s.formatted.assign(formatted.begin(), formatted.end());
        if (!ReadStrings(table, s.strings) || s.type == kEndOfTable) break;
    }
    return all;
}

BoardInfo ParseSmbiosBoard(const std::uint8_t* data, std::size_t size) {
    const auto all = ParseSmbiosStructures(data, size);
    const SmbiosStructure* bios = FindFirst(all, kBiosType);
    const SmbiosStructure* system = FindFirst(all, kSystemType);
    const SmbiosStructure* board = FindFirst(all, kBaseboardType);

    // Offsets of the string numbers inside each structure.
    constexpr std::size_t kBiosVendor = 4, kBiosVersion = 5, kBiosDate = 8;
    constexpr std::size_t kManufacturer = 4, kProduct = 5, kSerial = 7;

    BoardInfo info;
    info.name = FirstNonEmpty(StringOf(board, kProduct), StringOf(system, kProduct));
    info.manufacturer = FirstNonEmpty(StringOf(board, kManufacturer), StringOf(system, kManufacturer));
    info.copyright = Joined(StringOf(bios, kBiosVendor), StringOf(bios, kBiosVersion));
    info.date = StringOf(bios, kBiosDate);
    info.serialNumber = FirstNonEmpty(StringOf(board, kSerial), StringOf(system, kSerial));
    info.oemInformation = Joined(StringOf(system, kManufacturer), StringOf(system, kProduct));
    return info;
}

}  // namespace cc
