#include "platform/RegistryText.h"

#include "platform/Wtf8.h"

namespace cc {

bool IsRegistryText(std::uint32_t type) { return type == kRegistryString || type == kRegistryExpandString; }

std::string RegistryTextFromBytes(std::uint32_t type, std::span<const std::uint8_t> bytes) {
    if (!IsRegistryText(type) || bytes.size() > kLargestRegistryText) return {};
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);   // little-endian, as stored
        if (unit == 0) break;
        units.push_back(unit);
    }
    return Wtf8FromUtf16(units);
}

}  // namespace cc
