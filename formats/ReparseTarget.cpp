#include "formats/ReparseTarget.h"

#include "formats/ByteReader.h"

namespace cc {

std::u16string ReparseTarget(std::span<const std::uint8_t> data) {
    // Tag, data length, reserved; the name's offset and length, the print
    // name's; a symbolic link's flags; then the names, where the offsets count from.
    constexpr std::size_t kTagAt = 0, kNameOffsetAt = 8, kNameLengthAt = 10, kFlagsAt = 16, kJunctionNamesAt = 16,
                          kLinkNamesAt = 20;
    constexpr std::uint32_t kRelative = 1;   // SYMLINK_FLAG_RELATIVE
    constexpr std::u16string_view kDevices = u"\\??\\";   // where the object manager keeps the drive letters
    ByteReader r(data);
    const std::uint32_t tag = r.seek(kTagAt).u32();
    if (tag != kJunctionTag && (tag != kSymbolicLinkTag || (r.seek(kFlagsAt).u32() & kRelative))) return {};
    const std::size_t names = tag == kJunctionTag ? kJunctionNamesAt : kLinkNamesAt;
    const std::size_t offset = r.seek(kNameOffsetAt).u16(), length = r.seek(kNameLengthAt).u16();
    const std::u16string name = r.seek(names + offset).utf16(length / 2);
    if (!r.ok() || offset % 2 || length % 2 || !name.starts_with(kDevices)) return {};
    const std::u16string path = name.substr(kDevices.size());
    const auto letter = static_cast<char16_t>(path.size() >= 3 ? path[0] | 0x20 : 0);
    if (letter < u'a' || letter > u'z' || path[1] != u':' || path[2] != u'\\') return {};
    return path;
}

}  // namespace cc
