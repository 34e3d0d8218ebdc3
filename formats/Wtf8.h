#pragma once
// Names inside the program are WTF-8: UTF-8 that also carries an unpaired
// UTF-16 surrogate as its own three-byte form, so that every name Windows can
// store (valid UTF-16 or not) converts to text and back to the very same name.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cc {

// Invalid bytes become U+FFFD; an encoded surrogate becomes that code unit.
std::u16string Utf16FromWtf8(std::string_view text);
std::string Wtf8FromUtf16(std::u16string_view units);
// The units of UTF-16 stored as little-endian bytes; an odd last byte is no unit.
std::u16string Utf16FromBytes(std::span<const std::uint8_t> bytes);
// Such text read up to its first NUL unit; `ended` tells whether a NUL ended it.
std::string Wtf8FromUtf16Bytes(std::span<const std::uint8_t> bytes, bool& ended);

}  // namespace cc
