#pragma once
// Reads the board and firmware facts out of a raw SMBIOS table as the
// firmware-table call returns it: an 8-byte header (calling method, major,
// minor, DMI revision, 32-bit table length) and then the structures.
// Every read is bounds-checked; a short or broken table gives what could be
// read before the break, and empty texts for the rest.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/SystemRecords.h"

namespace cc {

// One structure: its type, its formatted bytes (header included) and its
// strings, numbered from 1 in the table, here from index 0.
struct SmbiosStructure {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> formatted;
    std::vector<std::string> strings;

    // The string a formatted byte at `offset` refers to; empty when either is missing.
    std::string stringAt(std::size_t offset) const;
};

std::vector<SmbiosStructure> ParseSmbiosStructures(const std::uint8_t* data, std::size_t size);
BoardInfo ParseSmbiosBoard(const std::uint8_t* data, std::size_t size);

}  // namespace cc
