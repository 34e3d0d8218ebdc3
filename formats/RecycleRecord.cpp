#include "formats/RecycleRecord.h"

#include "formats/ByteReader.h"
#include "formats/Wtf8.h"

namespace cc {
namespace {

constexpr std::size_t kHeader = 24;        // version, size, deletion time
constexpr std::size_t kVersion1Units = 260;   // MAX_PATH, the NUL included

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> 8 * i));
}

}  // namespace

std::vector<std::uint8_t> EncodeRecycleRecord(const RecycleRecord& record) {
    const std::u16string path = Utf16FromWtf8(record.path);
    const std::size_t units = path.size() + 1;   // with its NUL
    if ((record.version != 1 && record.version != 2) || path.empty() || path.find(u'\0') != std::u16string::npos ||
        (record.version == 1 && units > kVersion1Units) || units > 0x7FFF)
        return {};
    std::vector<std::uint8_t> out;
    Put(out, record.version, 8), Put(out, record.size, 8), Put(out, record.deletedAt, 8);
    if (record.version == 2) Put(out, units, 4);
    for (char16_t unit : path) Put(out, unit, 2);
    out.resize(record.version == 1 ? kHeader + 2 * kVersion1Units : out.size() + 2, 0);
    return out;
}

std::optional<RecycleRecord> DecodeRecycleRecord(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    RecycleRecord record;
    record.version = reader.u64(), record.size = reader.u64(), record.deletedAt = reader.u64();
    std::size_t units = kVersion1Units;
    if (record.version == 2) units = reader.u32();
    else if (record.version != 1) return std::nullopt;
    if (!reader.ok() || reader.remaining() != 2 * units) return std::nullopt;
    bool ended = false;
    const std::span<const std::uint8_t> field = reader.bytes(2 * units);
    record.path = Wtf8FromUtf16Bytes(field, ended);
    // Version 2 counts the NUL as the path's last unit.
    const bool lastIsNul = field.size() >= 2 && field[field.size() - 2] == 0 && field.back() == 0;
    if (!ended || record.path.empty() || (record.version == 2 && Utf16FromWtf8(record.path).size() + 1 != units) ||
        !lastIsNul)
        return std::nullopt;
    return record;
}

}  // namespace cc
