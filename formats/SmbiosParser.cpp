#include "formats/SmbiosParser.h"

namespace cc {

namespace {

constexpr std::size_t kRawHeaderSize = 8;   // the firmware call's own header
constexpr std::size_t kStructureHeaderSize = 4;
constexpr std::uint8_t kEndOfTable = 127;

constexpr std::uint8_t kBiosType = 0;
constexpr std::uint8_t kSystemType = 1;
constexpr std::uint8_t kBaseboardType = 2;

// Firmware strings are plain bytes; keep only printable ASCII so the text stays valid UTF-8.
std::string CleanString(const std::uint8_t* begin, const std::uint8_t* end) {
    std::string text;
    for (const std::uint8_t* p = begin; p < end; ++p)
        if (*p >= 0x20 && *p < 0x7F) text.push_back(static_cast<char>(*p));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    return text;
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
    if (offset >= formatted.size()) return {};
    const std::uint8_t number = formatted[offset];
    if (number == 0 || number > strings.size()) return {};
    return strings[number - 1];
}

std::vector<SmbiosStructure> ParseSmbiosStructures(const std::uint8_t* data, std::size_t size) {
    std::vector<SmbiosStructure> all;
    if (data == nullptr || size < kRawHeaderSize) return all;
    const std::uint32_t declared = static_cast<std::uint32_t>(data[4]) | static_cast<std::uint32_t>(data[5]) << 8 |
                                   static_cast<std::uint32_t>(data[6]) << 16 |
                                   static_cast<std::uint32_t>(data[7]) << 24;
    // Trust the declared length only as far as the bytes really given.
    const std::size_t tableSize = declared < size - kRawHeaderSize ? declared : size - kRawHeaderSize;
    const std::uint8_t* p = data + kRawHeaderSize;
    const std::uint8_t* const end = p + tableSize;

    while (end - p >= static_cast<std::ptrdiff_t>(kStructureHeaderSize)) {
        const std::uint8_t type = p[0];
        const std::uint8_t length = p[1];
        if (length < kStructureHeaderSize || length > end - p) break;
        SmbiosStructure s;
        s.type = type;
        s.formatted.assign(p, p + length);

        // The string set: strings ended by 0, the set ended by a further 0
        // (two zeros when there is no string at all).
        const std::uint8_t* q = p + length;
        bool terminated = false;
        if (end - q >= 2 && q[0] == 0 && q[1] == 0) {
            q += 2;
            terminated = true;
        } else {
            while (q < end) {
                const std::uint8_t* start = q;
                while (q < end && *q != 0) ++q;
                if (q == end) break;   // a string running off the table
                s.strings.push_back(CleanString(start, q));
                ++q;
                if (q < end && *q == 0) {
                    ++q;
                    terminated = true;
                    break;
                }
            }
        }
        all.push_back(std::move(s));
        if (!terminated || type == kEndOfTable) break;
        p = q;
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
