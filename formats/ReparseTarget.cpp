#include "formats/ReparseTarget.h"

namespace cc {
namespace {

std::uint32_t Read(std::span<const std::uint8_t> data, size_t at, size_t bytes) {
    std::uint32_t value = 0;
    for (size_t i = bytes; i-- > 0;) value = value << 8 | data[at + i];
    return value;
}

}  // namespace

std::u16string ReparseTarget(std::span<const std::uint8_t> data) {
    // Tag, data length, reserved; the name's offset and length, the print
    // name's; a symbolic link's flags; then the names, where the offsets count from.
    constexpr std::uint32_t kRelative = 1;   // SYMLINK_FLAG_RELATIVE
    if (data.size() < 16) return {};
    const std::uint32_t tag = Read(data, 0, 4);
    size_t names = 16;
    if (tag == kSymbolicLinkTag) {
        if (data.size() < 20 || (Read(data, 16, 4) & kRelative)) return {};
        names = 20;
    } else if (tag != kJunctionTag) {
        return {};
    }
    const size_t offset = Read(data, 8, 2), length = Read(data, 10, 2);
    if (offset % 2 || length % 2 || names + offset + length > data.size()) return {};
    std::u16string name;
    for (size_t at = names + offset; at < names + offset + length; at += 2) name += static_cast<char16_t>(Read(data, at, 2));
    const bool letter = name.size() >= 7 && ((name[4] | 0x20) >= u'a' && (name[4] | 0x20) <= u'z');
    if (!letter || name.compare(0, 4, u"\\??\\") != 0 || name[5] != u':' || name[6] != u'\\') return {};
    return name.substr(4);
}

}  // namespace cc
