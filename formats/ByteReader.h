#pragma once
// A cursor over the bytes a decoder reads: little-endian fields, each read
// checked against the end. A read past the end fails and the failure stays:
// the cursor stands at the end, every later read gives 0 or nothing, and
// ok() is false, so a decoder may read a whole structure and check once.
// Inline and allocation-free but for UTF-16 text: the file table reader
// reads a million records through it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "formats/Wtf8.h"

namespace cc {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return !failed_; }
    std::size_t position() const { return at_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - at_; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(uint(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(uint(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(uint(4)); }
    std::uint64_t u64() { return uint(8); }
    // A field of `width` bytes (up to 8), unsigned or two's complement.
    std::uint64_t uint(std::size_t width) {
        if (!has(width)) return 0;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{bytes_[at_ + i]} << 8 * i;
        at_ += width;
        return value;
    }
    std::int64_t sint(std::size_t width) {
        const std::uint64_t value = uint(width);
        const std::size_t unused = 64 - 8 * width;   // above the field: its sign bit copied in
        return width == 0 ? 0 : static_cast<std::int64_t>(value << unused) >> unused;
    }

    ByteReader& skip(std::size_t n) {
        if (has(n)) at_ += n;
        return *this;
    }
    // To an offset from the start; past the end fails. A failed reader stays at the end.
    ByteReader& seek(std::size_t offset) {
        if (failed_ || offset > bytes_.size()) fail();
        else at_ = offset;
        return *this;
    }
    std::span<const std::uint8_t> bytes(std::size_t n) {
        if (!has(n)) return {};
        at_ += n;
        return bytes_.subspan(at_ - n, n);
    }
    // A reader over the next n bytes, from its own offset 0; failed when they are not there.
    ByteReader sub(std::size_t n) {
        ByteReader inner(bytes(n));
        inner.failed_ = failed_;
        return inner;
    }
    // A GUID's 16 bytes as stored (its first three fields little-endian).
    std::array<std::uint8_t, 16> guid() {
        std::array<std::uint8_t, 16> guid{};
        const std::span<const std::uint8_t> stored = bytes(guid.size());
        std::copy(stored.begin(), stored.end(), guid.begin());
        return guid;
    }
    // `units` UTF-16LE code units, as they are: unpaired surrogates too.
    std::u16string utf16(std::size_t units) {
        if (units > remaining() / 2) fail();
        return Utf16FromBytes(bytes(2 * units));
    }

private:
    bool has(std::size_t n) {
        if (n <= bytes_.size() - at_) return true;
        fail();
        return false;
    }
    void fail() {
        failed_ = true;
        at_ = bytes_.size();
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

}  // namespace cc
