#include "formats/RegistryText.h"

#include "formats/Wtf8.h"

namespace cc {

bool IsRegistryText(std::uint32_t type) { return type == kRegistryString || type == kRegistryExpandString; }

std::string RegistryTextFromBytes(std::uint32_t type, std::span<const std::uint8_t> bytes) {
    if (!IsRegistryText(type) || bytes.size() > kLargestRegistryText) return {};
    bool ended = false;   // a missing NUL is allowed
    return Wtf8FromUtf16Bytes(bytes, ended);
}

}  // namespace cc
