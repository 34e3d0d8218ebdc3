#pragma once
// The parts of an NTFS volume that its file table is read from, decoded from
// raw bytes: the boot sector, a file record with its update sequence, its
// attributes, and the run lists that map an attribute's clusters. Every
// length and offset is checked against the bytes; nothing here trusts them.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace cc::ntfs {

struct BootSector {
    std::uint32_t bytesPerSector = 0;
    std::uint32_t bytesPerCluster = 0;
    std::uint32_t bytesPerRecord = 0;   // of the file table
    std::uint64_t clusters = 0;         // in the volume
    std::uint64_t tableCluster = 0;     // where the file table starts
};
// The boot sector's geometry, when the sector names NTFS and its sizes are
// ones NTFS can have (sectors of 512 to 4,096 bytes, clusters up to 2 MiB,
// records of 256 bytes to 64 KiB).
std::optional<BootSector> ReadBootSector(std::span<const std::uint8_t> sector);

// NTFS protects a multi-sector record against torn writes: the last two bytes
// of every 512 bytes hold the record's update sequence number, and the bytes
// they replace are kept in the update sequence array. This checks every
// stride and puts the kept bytes back; false (and the record untouched) when
// the header or a stride does not match: the record cannot be trusted.
bool ApplyFixups(std::span<std::uint8_t> record);
// Of a record caught half-written, the strides from its start that do match,
// their kept bytes put back: how many bytes of it are one write (0 for none).
std::size_t ApplyLeadingFixups(std::span<std::uint8_t> record);

// An attribute's clusters: `length` clusters from virtual cluster `vcn`, at
// logical cluster `lcn`, or nowhere (sparse) when `lcn` is negative.
struct Run {
    std::uint64_t vcn = 0;
    std::uint64_t length = 0;
    std::int64_t lcn = 0;
};
// Appends the runs of a mapping-pairs array that starts at `firstVcn`. False
// for pairs that run past the bytes, lengths of zero, or clusters below 0 or
// at or past `clusters`.
bool DecodeRuns(std::span<const std::uint8_t> pairs, std::uint64_t firstVcn, std::uint64_t clusters,
                std::vector<Run>& runs);

enum AttributeType : std::uint32_t {
    kStandardInformation = 0x10,
    kAttributeList = 0x20,
    kFileName = 0x30,
    kData = 0x80,
};

struct Attribute {
    std::uint32_t type = 0;
    std::uint16_t instance = 0;
    bool named = false;
    bool resident = true;
    std::span<const std::uint8_t> value;   // resident
    std::uint64_t lowestVcn = 0;           // non-resident from here on
    std::uint64_t highestVcn = 0;
    std::uint64_t dataSize = 0;
    std::uint64_t initializedSize = 0;
    std::span<const std::uint8_t> pairs;   // the mapping pairs
    // The attribute's size in bytes: its value's, or the data size.
    std::uint64_t size() const { return resident ? value.size() : dataSize; }
};

// One file record, its fixups applied. The header and every attribute are
// checked to lie inside the bytes the record says it uses.
class FileRecord {
public:
    // Whether a record's header marks it in use, read before its fixups: they never touch the header.
    static bool MarkedInUse(std::span<const std::uint8_t> bytes);
    // False when the bytes are no file record ("FILE") or its header is broken.
    // Not `whole`: the bytes may end before the record does (the part of a
    // record caught half-written that was written whole).
    bool read(std::span<const std::uint8_t> bytes, bool whole = true);
    bool inUse() const { return (flags_ & kInUse) != 0; }
    bool directory() const { return (flags_ & kDirectory) != 0; }
    std::uint16_t sequence() const { return sequence_; }
    std::uint64_t base() const { return base_; }   // the base record's reference; 0 for a base record
    // The next attribute, in record order; false at the end, and when an
    // attribute is broken (then broken() tells).
    bool next(Attribute& attribute);
    bool broken() const { return broken_; }
    // The type of the attribute next() stopped at, from its first bytes.
    std::uint32_t stoppedAt() const;

private:
    static constexpr std::uint16_t kInUse = 1, kDirectory = 2;
    std::span<const std::uint8_t> rest_;   // the attributes not yet read, as far as the record is in use
    std::uint16_t flags_ = 0, sequence_ = 0;
    std::uint64_t base_ = 0;
    bool broken_ = false;
};

// What a $FILE_NAME value says: the folder it is in, its namespace (0 POSIX,
// 1 Win32, 2 DOS, 3 Win32 and DOS) and the name's UTF-16 units, still as bytes.
struct FileName {
    std::uint64_t parent = 0;   // a file reference: record number and sequence
    std::uint8_t space = 0;
    std::span<const std::uint8_t> name;
    bool isDosAlias() const { return space == 2; }
};
std::optional<FileName> ReadFileName(std::span<const std::uint8_t> value);

// The file attributes (FILE_ATTRIBUTE_*) a $STANDARD_INFORMATION value holds; 0 from one too short to hold them.
std::uint32_t FileAttributes(std::span<const std::uint8_t> value);

// One entry of an attribute list: which record holds which attribute.
struct ListEntry {
    std::uint32_t type = 0;
    bool named = false;
    std::uint64_t lowestVcn = 0;
    std::uint64_t record = 0;   // a file reference
    std::uint16_t instance = 0;
};
// Every entry of an attribute list's value; false if an entry is broken.
bool ReadAttributeList(std::span<const std::uint8_t> value, std::vector<ListEntry>& entries);

constexpr std::uint64_t RecordNumber(std::uint64_t reference) { return reference & 0xFFFFFFFFFFFFull; }
constexpr std::uint16_t SequenceOf(std::uint64_t reference) { return static_cast<std::uint16_t>(reference >> 48); }

}  // namespace cc::ntfs
