#pragma once
// Reads the texts out of a storage device descriptor as the storage
// property query returns it: a fixed header whose 32-bit fields at bytes
// 12, 16, 20 and 24 give the offsets of the vendor, product, revision and
// serial-number texts (0 when absent), each ended by a 0 byte. Offsets that
// point outside the returned bytes give empty texts.

#include <cstddef>
#include <cstdint>
#include <string>

namespace cc {

struct StorageTexts {
    std::string model;      // vendor and product, as one name
    std::string revision;
    std::string serialNumber;
};

StorageTexts ParseStorageDescriptor(const std::uint8_t* data, std::size_t size);

}  // namespace cc
