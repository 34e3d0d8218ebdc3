#pragma once
// A registry value's stored bytes as the text a program reading it sees.
// Anyone may write any bytes under any type there, malware included.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace cc {

inline constexpr std::uint32_t kRegistryString = 1;          // REG_SZ
inline constexpr std::uint32_t kRegistryExpandString = 2;    // REG_EXPAND_SZ
inline constexpr std::size_t kLargestRegistryText = 16u << 20;   // larger is not believed

bool IsRegistryText(std::uint32_t type);

// The text of a REG_SZ or REG_EXPAND_SZ value (WTF-8): UTF-16 units up to the
// first NUL, an odd last byte dropped, a missing NUL allowed. Any other type,
// or more than kLargestRegistryText bytes, reads as empty.
std::string RegistryTextFromBytes(std::uint32_t type, std::span<const std::uint8_t> bytes);

}  // namespace cc
