#pragma once
// A cursor over the bytes a decoder reads: little-endian fields, each read
// checked against the end. A read past the end fails and the failure stays:
// the cursor stands at the end, every later read gives 0 or nothing, and ok()
// is false, so a decoder may read a whole structure and check once. Inline
// and allocation-free but for text: the NTFS table reads a million records.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "formats/Wtf8.h"

namespace cc {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return !failed_; }
    std::size_t position() const { return at_; }
    std::size_t remaining() const { return bytes_.size() - at_; }

    std::uint8_t u8() { return fixed<std::uint8_t>(); }
    std::uint16_t u16() { return fixed<std::uint16_t>(); }
    std::uint32_t u32() { return fixed<std::uint32_t>(); }
    std::uint64_t u64() { return fixed<std::uint64_t>(); }
    // A GUID's 16 bytes as stored (its first three fields little-endian).
    std::array<std::uint8_t, 16> guid() { return fixed<std::array<std::uint8_t, 16>>(); }
    // A field of a width the bytes give (up to 8), unsigned or two's complement.
    std::uint64_t uint(std::size_t width) {
        const std::span<const std::uint8_t> field = bytes(width);
        std::uint64_t value = 0;
        for (std::size_t i = field.size(); i-- > 0;) value = value << 8 | field[i];
        return value;
    }
    std::int64_t sint(std::size_t width) {
        const std::size_t unused = 64 - 8 * width;   // above the field: filled with its sign bit
        return width == 0 ? 0 : static_cast<std::int64_t>(uint(width) << unused) >> unused;
    }
    // `units` UTF-16LE code units, as they are: unpaired surrogates too.
    std::u16string utf16(std::size_t units) {
        if (units > remaining() / 2) fail();
        return Utf16FromBytes(bytes(2 * units));
    }

    std::span<const std::uint8_t> bytes(std::size_t n) {
        if (n > remaining()) {
            fail();
            return {};
        }
        at_ += n;
        return bytes_.subspan(at_ - n, n);
    }
    ByteReader& skip(std::size_t n) {
        bytes(n);
        return *this;
    }
    // To an offset from the start; past the end fails. A failed reader stays at the end.
    ByteReader& seek(std::size_t offset) {
        if (failed_ || offset > bytes_.size()) fail();
        else at_ = offset;
        return *this;
    }
    // A reader over the next n bytes, from its own offset 0; failed when they are not there.
    ByteReader sub(std::size_t n) {
        ByteReader inner(bytes(n));
        inner.failed_ = failed_;
        return inner;
    }

private:
    // Copied as stored, in one load: the hosts are little-endian, as the formats are.
    template <class T>
    T fixed() {
        static_assert(std::endian::native == std::endian::little);
        T value{};
        const std::span<const std::uint8_t> field = bytes(sizeof value);
        if (!field.empty()) std::memcpy(&value, field.data(), sizeof value);
        return value;
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
