#include "formats/ntfs/NtfsRecords.h"

#include <algorithm>
#include <cstring>

#include "formats/ByteReader.h"

namespace cc::ntfs {
namespace {

constexpr std::size_t kStride = 512;   // what one update sequence entry protects, whatever the sector size
constexpr std::size_t kEntry = 2;      // an update sequence entry, and the number itself: a stride's last two bytes
// A file record's header; its first 8 bytes, up to the update sequence's place and length, every multi-sector record has.
constexpr std::size_t kFixupsAt = 4, kFixupCountAt = 6, kMultiSectorHeader = 8;
constexpr std::size_t kSequenceAt = 16, kFirstAttributeAt = 20, kFlagsAt = 22, kBytesInUseAt = 24, kBaseAt = 32, kRecordHeader = 42;

bool PowerOfTwo(std::uint64_t n) { return n != 0 && (n & (n - 1)) == 0; }

}  // namespace

std::optional<BootSector> ReadBootSector(std::span<const std::uint8_t> sector) {
    constexpr std::size_t kNameAt = 3, kBytesPerSectorAt = 0x0B, kPerClusterAt = 0x0D, kSectorsAt = 0x28, kTableClusterAt = 0x30,
                          kPerRecordAt = 0x40, kSignatureAt = 510, kSize = 512;
    ByteReader r(sector);
    if (sector.size() < kSize || std::memcmp(sector.data() + kNameAt, "NTFS    ", 8) != 0 || r.seek(kSignatureAt).u16() != 0xAA55)
        return std::nullopt;
    BootSector boot;
    boot.bytesPerSector = r.seek(kBytesPerSectorAt).u16();
    // Up to 128 sectors a cluster as a count; larger clusters as a power of two, 2^(256 - value).
    const std::uint32_t perCluster = r.seek(kPerClusterAt).u8();
    if (perCluster > 0x80 && 256 - perCluster > 12) return std::nullopt;
    boot.bytesPerCluster = boot.bytesPerSector * (perCluster <= 0x80 ? perCluster : 1u << (256 - perCluster));
    // Clusters a record when positive, else a record is 2^-value bytes.
    const std::int64_t perRecord = r.seek(kPerRecordAt).sint(1);
    if (perRecord < -16) return std::nullopt;
    const std::uint64_t recordBytes =
        perRecord > 0 ? std::uint64_t{boot.bytesPerCluster} * static_cast<std::uint64_t>(perRecord)
                      : perRecord < 0 ? std::uint64_t{1} << -perRecord : 0;
    boot.bytesPerRecord = static_cast<std::uint32_t>(recordBytes);
    if (boot.bytesPerSector < 512 || boot.bytesPerSector > 4096 || !PowerOfTwo(boot.bytesPerSector) ||
        !PowerOfTwo(boot.bytesPerCluster) || boot.bytesPerCluster > (2u << 20) || recordBytes < 512 ||
        recordBytes > 65536 || !PowerOfTwo(recordBytes))
        return std::nullopt;
    boot.clusters = r.seek(kSectorsAt).u64() / (boot.bytesPerCluster / boot.bytesPerSector);
    boot.tableCluster = r.seek(kTableClusterAt).u64();
    // Up to 2^40 clusters (4 PiB at 4 KiB a cluster): byte offsets then never overflow.
    if (boot.clusters >= (std::uint64_t{1} << 40) || boot.tableCluster >= boot.clusters) return std::nullopt;
    return boot;
}

namespace {

// Where the update sequence array is: it holds the number, then one entry a stride, and lies in the first stride,
// before its last two bytes. 0 when the header gives no such place.
std::size_t FixupArray(std::span<const std::uint8_t> record) {
    if (record.size() < kStride || record.size() % kStride != 0) return 0;
    ByteReader r(record);
    const std::size_t arrayAt = r.seek(kFixupsAt).u16(), count = r.seek(kFixupCountAt).u16();
    if (count != record.size() / kStride + 1 || arrayAt < kMultiSectorHeader || arrayAt % 2 != 0 ||
        arrayAt + kEntry * count > kStride - kEntry)
        return 0;
    return arrayAt;
}

bool StrideMatches(std::span<const std::uint8_t> record, std::size_t arrayAt, std::size_t stride) {
    return std::memcmp(record.data() + stride * kStride - kEntry, record.data() + arrayAt, kEntry) == 0;
}

void PutBack(std::span<std::uint8_t> record, std::size_t arrayAt, std::size_t stride) {
    std::memcpy(record.data() + stride * kStride - kEntry, record.data() + arrayAt + kEntry * stride, kEntry);
}

}  // namespace

bool ApplyFixups(std::span<std::uint8_t> record) {
    const std::size_t arrayAt = FixupArray(record), strides = record.size() / kStride;
    if (arrayAt == 0) return false;
    for (std::size_t i = 1; i <= strides; ++i)
        if (!StrideMatches(record, arrayAt, i)) return false;
    for (std::size_t i = 1; i <= strides; ++i) PutBack(record, arrayAt, i);
    return true;
}

std::size_t ApplyLeadingFixups(std::span<std::uint8_t> record) {
    const std::size_t arrayAt = FixupArray(record), strides = record.size() / kStride;
    std::size_t whole = 0;
    while (arrayAt != 0 && whole < strides && StrideMatches(record, arrayAt, whole + 1)) PutBack(record, arrayAt, ++whole);
    return whole * kStride;
}

bool DecodeRuns(std::span<const std::uint8_t> pairs, std::uint64_t firstVcn, std::uint64_t clusters,
                std::vector<Run>& runs) {
    std::uint64_t vcn = firstVcn;
    std::int64_t lcn = 0;
    for (ByteReader r(pairs); r.remaining() != 0;) {
        const std::uint8_t header = r.u8();
        if (header == 0) return true;
        const std::size_t lengthBytes = header & 0x0F, offsetBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8 || r.remaining() < lengthBytes + offsetBytes) return false;
        const std::uint64_t length = r.uint(lengthBytes);
        if (length == 0 || length > (std::uint64_t{1} << 62) || vcn > (std::uint64_t{1} << 62)) return false;
        Run run{vcn, length, -1};   // no offset: sparse
        if (offsetBytes != 0) {
            if (__builtin_add_overflow(lcn, r.sint(offsetBytes), &lcn) || lcn < 0 || static_cast<std::uint64_t>(lcn) >= clusters ||
                length > clusters - static_cast<std::uint64_t>(lcn))
                return false;
            run.lcn = lcn;
        }
        runs.push_back(run);
        vcn += length;
    }
    return false;   // no end
}

bool FileRecord::MarkedInUse(std::span<const std::uint8_t> bytes) {
    return (ByteReader(bytes).seek(kFlagsAt).u16() & kInUse) != 0;
}

bool FileRecord::read(std::span<const std::uint8_t> bytes, bool whole) {
    broken_ = false;
    if (bytes.size() < kRecordHeader || std::memcmp(bytes.data(), "FILE", 4) != 0) return false;
    ByteReader r(bytes);
    const std::size_t first = r.seek(kFirstAttributeAt).u16(),
                      inUse = whole ? r.seek(kBytesInUseAt).u32() : std::min<std::size_t>(r.seek(kBytesInUseAt).u32(), bytes.size());
    if (inUse > bytes.size() || first < kRecordHeader || first % 8 != 0 || first + 4 > inUse) return false;
    sequence_ = r.seek(kSequenceAt).u16();
    flags_ = r.seek(kFlagsAt).u16();
    base_ = r.seek(kBaseAt).u64();
    rest_ = bytes.subspan(first, inUse - first);
    return true;
}

bool FileRecord::next(Attribute& a) {
    // Every attribute's header, then a resident one's value or a non-resident one's extent and sizes.
    constexpr std::size_t kLengthAt = 4, kNonResidentAt = 8, kNameUnitsAt = 9, kNameAt = 10, kInstanceAt = 14, kHeader = 24;
    constexpr std::size_t kValueLengthAt = 16, kValueAt = 20;
    constexpr std::size_t kLowestVcnAt = 16, kHighestVcnAt = 24, kPairsAt = 32, kDataSizeAt = 48, kInitializedSizeAt = 56,
                          kNonResidentHeader = 64;
    constexpr std::uint32_t kEnd = 0xFFFFFFFF;
    ByteReader r(rest_);
    const std::uint32_t type = r.u32();   // none when fewer than 4 bytes are left
    if (type == kEnd) return false;
    broken_ = true;
    if (rest_.size() < kHeader) return false;
    const std::size_t length = r.seek(kLengthAt).u32(), nameUnits = r.seek(kNameUnitsAt).u8(), nameAt = r.seek(kNameAt).u16();
    if (length < kHeader || length % 8 != 0 || length > rest_.size() || (nameUnits != 0 && nameAt + 2 * nameUnits > length))
        return false;
    a = Attribute{};
    a.type = type;
    a.instance = r.seek(kInstanceAt).u16();
    a.named = nameUnits != 0;
    a.resident = r.seek(kNonResidentAt).u8() == 0;
    const auto attribute = rest_.first(length);
    if (a.resident) {
        const std::size_t valueLength = r.seek(kValueLengthAt).u32(), valueAt = r.seek(kValueAt).u16();
        if (valueAt > length || valueLength > length - valueAt) return false;
        a.value = attribute.subspan(valueAt, valueLength);
    } else {
        const std::size_t pairsAt = r.seek(kPairsAt).u16();
        if (length < kNonResidentHeader || pairsAt < kNonResidentHeader || pairsAt > length) return false;
        a.lowestVcn = r.seek(kLowestVcnAt).u64();
        a.highestVcn = r.seek(kHighestVcnAt).u64();
        a.dataSize = r.seek(kDataSizeAt).u64();
        a.initializedSize = r.seek(kInitializedSizeAt).u64();
        a.pairs = attribute.subspan(pairsAt);
    }
    rest_ = rest_.subspan(length);
    broken_ = false;
    return true;
}

std::uint32_t FileRecord::stoppedAt() const {
    return ByteReader(rest_).u32();
}

std::optional<FileName> ReadFileName(std::span<const std::uint8_t> value) {
    constexpr std::size_t kParentAt = 0, kNameUnitsAt = 64, kNamespaceAt = 65, kNameAt = 66;
    ByteReader r(value);
    const std::uint64_t parent = r.seek(kParentAt).u64();
    const std::uint8_t space = r.seek(kNamespaceAt).u8();
    const std::size_t units = r.seek(kNameUnitsAt).u8();
    const std::span<const std::uint8_t> name = r.seek(kNameAt).bytes(2 * units);
    if (!r.ok() || units == 0) return std::nullopt;
    return FileName{parent, space, name};
}

std::uint32_t FileAttributes(std::span<const std::uint8_t> value) {
    constexpr std::size_t kAttributesAt = 32;
    return ByteReader(value).seek(kAttributesAt).u32();
}

bool ReadAttributeList(std::span<const std::uint8_t> value, std::vector<ListEntry>& entries) {
    constexpr std::size_t kTypeAt = 0, kLengthAt = 4, kNameUnitsAt = 6, kNameAt = 7, kLowestVcnAt = 8, kRecordAt = 16,
                          kInstanceAt = 24, kEntrySize = 26;
    for (std::span<const std::uint8_t> rest = value; !rest.empty();) {
        if (rest.size() < kEntrySize) return false;
        ByteReader r(rest);
        const std::size_t length = r.seek(kLengthAt).u16(), nameUnits = r.seek(kNameUnitsAt).u8(), nameAt = r.seek(kNameAt).u8();
        if (length < kEntrySize || length > rest.size() || (nameUnits != 0 && nameAt + 2 * nameUnits > length)) return false;
        entries.push_back({r.seek(kTypeAt).u32(), nameUnits != 0, r.seek(kLowestVcnAt).u64(), r.seek(kRecordAt).u64(),
                           r.seek(kInstanceAt).u16()});
        rest = rest.subspan(length);
    }
    return true;
}

}  // namespace cc::ntfs
