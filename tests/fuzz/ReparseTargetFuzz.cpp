// A link's reparse data, as whoever made the link wrote it: a target comes only from a junction or an absolute
// symbolic link and is a path from a drive's root; a junction made to lead to one leads there.
#include <vector>

#include "FuzzCheck.h"
#include "formats/ReparseTarget.h"

using namespace cc;

namespace {
bool DrivePath(const std::u16string& p) { return p.size() >= 3 && (p[0] | 0x20) >= u'a' && (p[0] | 0x20) <= u'z' && p.substr(1, 2) == u":\\"; }
std::vector<std::uint8_t> Bytes(const std::u16string& units) {   // UTF-16LE
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : units) bytes.push_back(std::uint8_t(unit)), bytes.push_back(std::uint8_t(unit >> 8));
    return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const std::u16string target = ReparseTarget({data, size}); !target.empty()) {
        const std::uint32_t tag = data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24;
        fuzz::Require(tag == kJunctionTag || (tag == kSymbolicLinkTag && !(data[16] & 1)), "only a junction or an absolute symbolic link leads somewhere");
        fuzz::Require(DrivePath(target), "a path from a drive's root");
    }
    std::u16string path;   // the bytes as UTF-16 units
    for (std::size_t i = 1; i < size && i < 60000; i += 2) path += char16_t(data[i - 1] | data[i] << 8);
    const auto name = char16_t(2 * path.size() + 8);   // its bytes, with "\??\" in front: a junction's header, then the name
    if (DrivePath(path))
        fuzz::Require(ReparseTarget(Bytes(std::u16string{0x0003, 0xA000, char16_t(name + 8), 0, 0, name, name, 0} + u"\\??\\" + path)) == path,
                      "a junction leads where it was made to lead");
    return 0;
}
