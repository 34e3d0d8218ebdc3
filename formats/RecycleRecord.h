#pragma once
// The record Windows keeps beside each file in a Recycle Bin folder from
// Vista on ("$I<name>" beside the file, renamed "$R<name>"): what the file
// was and where, so that Explorer shows it and "还原" puts it back. Version 1
// (Vista to 8.1) holds the path in a fixed field of 260 UTF-16 units;
// version 2 (Windows 10 on) gives the path's length first.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cc {

struct RecycleRecord {
    std::uint64_t version = 2;     // 1 or 2
    std::uint64_t size = 0;        // of the file's data, in bytes
    std::uint64_t deletedAt = 0;   // a FILETIME: 100 ns units since 1601, UTC
    std::string path;              // the full path it had, "C:\dir\name" (WTF-8)
    bool operator==(const RecycleRecord&) const = default;
};

// The record's bytes; empty for an unknown version, an empty path or one
// holding a NUL, and in version 1 a path longer than its field (259 units).
std::vector<std::uint8_t> EncodeRecycleRecord(const RecycleRecord& record);
// The record in these bytes; nullopt unless they are one record of either
// version exactly, its path ended by a NUL.
std::optional<RecycleRecord> DecodeRecycleRecord(std::span<const std::uint8_t> bytes);

}  // namespace cc
