#include "formats/ntfs/NtfsRecords.h"

#include <algorithm>
#include <cstring>

namespace cc::ntfs {
namespace {

constexpr std::size_t kStride = 512;   // what one update sequence entry protects, whatever the sector size

bool PowerOfTwo(std::uint64_t n) { return n != 0 && (n & (n - 1)) == 0; }

}  // namespace

std::optional<BootSector> ReadBootSector(std::span<const std::uint8_t> sector) {
    if (sector.size() < 512 || std::memcmp(sector.data() + 3, "NTFS    ", 8) != 0 || Le(sector, 510, 2) != 0xAA55)
        return std::nullopt;
    BootSector boot;
    boot.bytesPerSector = static_cast<std::uint32_t>(Le(sector, 0x0B, 2));
    // Up to 128 sectors a cluster as a count; larger clusters as a power of two, 2^(256 - value).
    const std::uint32_t perCluster = sector[0x0D];
    if (perCluster > 0x80 && 256 - perCluster > 12) return std::nullopt;
    boot.bytesPerCluster = boot.bytesPerSector * (perCluster <= 0x80 ? perCluster : 1u << (256 - perCluster));
    // Clusters a record when positive, else a record is 2^-value bytes.
    const auto perRecord = static_cast<std::int8_t>(sector[0x40]);
    if (perRecord < -16) return std::nullopt;
    const std::uint64_t recordBytes =
        perRecord > 0 ? std::uint64_t{boot.bytesPerCluster} * static_cast<std::uint64_t>(perRecord)
                      : perRecord < 0 ? std::uint64_t{1} << -perRecord : 0;
    boot.bytesPerRecord = static_cast<std::uint32_t>(recordBytes);
    if (boot.bytesPerSector < 512 || boot.bytesPerSector > 4096 || !PowerOfTwo(boot.bytesPerSector) ||
        !PowerOfTwo(boot.bytesPerCluster) || boot.bytesPerCluster > (2u << 20) || recordBytes < 512 ||
        recordBytes > 65536 || !PowerOfTwo(recordBytes))
        return std::nullopt;
    boot.clusters = Le(sector, 0x28, 8) / (boot.bytesPerCluster / boot.bytesPerSector);
    boot.tableCluster = Le(sector, 0x30, 8);
    // Up to 2^40 clusters (4 PiB at 4 KiB a cluster): byte offsets then never overflow.
    if (boot.clusters >= (std::uint64_t{1} << 40) || boot.tableCluster >= boot.clusters) return std::nullopt;
    return boot;
}

bool ApplyFixups(std::span<std::uint8_t> record) {
    if (record.size() < kStride || record.size() % kStride != 0) return false;
    const std::size_t arrayAt = Le(record, 4, 2), count = Le(record, 6, 2), strides = record.size() / kStride;
    // The array (the sequence number, then one entry a stride) lies in the first stride, before its last two bytes.
    if (count != strides + 1 || arrayAt < 8 || arrayAt % 2 != 0 || arrayAt + 2 * count > kStride - 2) return false;
    const std::uint8_t* sequence = record.data() + arrayAt;
    for (std::size_t i = 1; i <= strides; ++i)
        if (std::memcmp(record.data() + i * kStride - 2, sequence, 2) != 0) return false;
    for (std::size_t i = 1; i <= strides; ++i) std::memcpy(record.data() + i * kStride - 2, sequence + 2 * i, 2);
    return true;
}

bool DecodeRuns(std::span<const std::uint8_t> pairs, std::uint64_t firstVcn, std::uint64_t clusters,
                std::vector<Run>& runs) {
    std::uint64_t vcn = firstVcn;
    std::int64_t lcn = 0;
    for (std::size_t at = 0; at < pairs.size();) {
        const std::uint8_t header = pairs[at++];
        if (header == 0) return true;
        const std::size_t lengthBytes = header & 0x0F, offsetBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8 || pairs.size() - at < lengthBytes + offsetBytes)
            return false;
        const std::uint64_t length = Le(pairs, at, lengthBytes);
        at += lengthBytes;
        if (length == 0 || length > (std::uint64_t{1} << 62) || vcn > (std::uint64_t{1} << 62)) return false;
        Run run{vcn, length, -1};   // no offset: sparse
        if (offsetBytes != 0) {
            std::uint64_t delta = Le(pairs, at, offsetBytes);
            if (offsetBytes < 8 && (delta >> (8 * offsetBytes - 1)) != 0) delta |= ~std::uint64_t{0} << (8 * offsetBytes);
            if (__builtin_add_overflow(lcn, static_cast<std::int64_t>(delta), &lcn) || lcn < 0 ||
                static_cast<std::uint64_t>(lcn) >= clusters || length > clusters - static_cast<std::uint64_t>(lcn))
                return false;
            run.lcn = lcn;
        }
        at += offsetBytes;
        runs.push_back(run);
        vcn += length;
    }
    return false;   // no end
}

bool FileRecord::read(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kHeader = 42;
    broken_ = false;
    if (bytes.size() < kHeader || std::memcmp(bytes.data(), "FILE", 4) != 0) return false;
    const std::size_t first = Le(bytes, 20, 2), inUse = Le(bytes, 24, 4);
    if (inUse > bytes.size() || first < kHeader || first % 8 != 0 || first + 4 > inUse) return false;
    sequence_ = static_cast<std::uint16_t>(Le(bytes, 16, 2));
    flags_ = static_cast<std::uint16_t>(Le(bytes, 22, 2));
    base_ = Le(bytes, 32, 8);
    bytes_ = bytes.first(inUse);
    at_ = first;
    return true;
}

bool FileRecord::next(Attribute& a) {
    const std::size_t left = bytes_.size() - at_;
    if (left >= 4 && Le(bytes_, at_, 4) == 0xFFFFFFFF) return false;   // the end
    broken_ = true;
    if (left < 24) return false;
    const auto field = [&](std::size_t offset, std::size_t width) { return Le(bytes_, at_ + offset, width); };
    const std::size_t length = field(4, 4), nameUnits = field(9, 1), nameAt = field(10, 2);
    if (length < 24 || length % 8 != 0 || length > left || (nameUnits != 0 && nameAt + 2 * nameUnits > length)) return false;
    a = Attribute{};
    a.type = static_cast<std::uint32_t>(field(0, 4));
    a.instance = static_cast<std::uint16_t>(field(14, 2));
    a.named = nameUnits != 0;
    a.resident = field(8, 1) == 0;
    const auto attribute = bytes_.subspan(at_, length);
    if (a.resident) {
        const std::size_t valueLength = field(16, 4), valueAt = field(20, 2);
        if (valueAt > length || valueLength > length - valueAt) return false;
        a.value = attribute.subspan(valueAt, valueLength);
    } else {
        const std::size_t pairsAt = field(32, 2);
        if (length < 64 || pairsAt < 64 || pairsAt > length) return false;
        a.lowestVcn = field(16, 8);
        a.highestVcn = field(24, 8);
        a.dataSize = field(48, 8);
        a.initializedSize = field(56, 8);
        a.pairs = attribute.subspan(pairsAt);
    }
    at_ += length;
    broken_ = false;
    return true;
}

std::optional<FileName> ReadFileName(std::span<const std::uint8_t> value) {
    constexpr std::size_t kNameAt = 66;
    if (value.size() < kNameAt) return std::nullopt;
    const std::size_t units = value[64];
    if (units == 0 || kNameAt + 2 * units > value.size()) return std::nullopt;
    return FileName{Le(value, 0, 8), value[65], value.subspan(kNameAt, 2 * units)};
}

bool ReadAttributeList(std::span<const std::uint8_t> value, std::vector<ListEntry>& entries) {
    for (std::size_t at = 0; at < value.size();) {
        const std::size_t left = value.size() - at;
        if (left < 26) return false;
        const std::size_t length = Le(value, at + 4, 2), nameUnits = value[at + 6], nameAt = value[at + 7];
        if (length < 26 || length > left || (nameUnits != 0 && nameAt + 2 * nameUnits > length)) return false;
        entries.push_back({static_cast<std::uint32_t>(Le(value, at, 4)), nameUnits != 0, Le(value, at + 8, 8),
                           Le(value, at + 16, 8), static_cast<std::uint16_t>(Le(value, at + 24, 2))});
        at += length;
    }
    return true;
}

}  // namespace cc::ntfs
