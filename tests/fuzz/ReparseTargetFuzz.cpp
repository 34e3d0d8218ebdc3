// A link's reparse data, as whoever made the link wrote it: a target comes only from a junction or an
// absolute symbolic link, is a path from a drive's root, and is spelt in the data after "\??\"; and a
// junction made to lead to a drive path leads there.
#include <algorithm>
#include <vector>

#include "FuzzCheck.h"
#include "platform/ReparseTarget.h"

using namespace cc;

namespace {
using Bytes = std::vector<std::uint8_t>;
void Put(Bytes& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(std::uint8_t(value >> 8 * i));
}
bool IsLetter(char16_t unit) { return (unit | 0x20) >= u'a' && (unit | 0x20) <= u'z'; }
Bytes Spelt(const std::u16string& text) {   // UTF-16LE
    Bytes bytes;
    for (char16_t unit : text) Put(bytes, unit, 2);
    return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string target = ReparseTarget({data, size});
    if (!target.empty()) {
        const std::uint32_t tag = data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24;
        fuzz::Require(tag == kJunctionTag || (tag == kSymbolicLinkTag && !(data[16] & 1)),
                      "only a junction or an absolute symbolic link leads somewhere");
        fuzz::Require(target.size() >= 3 && IsLetter(target[0]) && target[1] == u':' && target[2] == u'\\', "a path from a drive's root");
        const Bytes spelt = Spelt(u"\\??\\" + target);
        fuzz::Require(std::search(data, data + size, spelt.begin(), spelt.end()) != data + size, "spelt in the data");
    }
    std::u16string path;   // the bytes as UTF-16 units: a junction made to lead there
    for (std::size_t i = 1; i < size && i < 60000; i += 2) path += char16_t(data[i - 1] | data[i] << 8);
    if (path.size() < 3 || !IsLetter(path[0]) || path[1] != u':' || path[2] != u'\\') return 0;
    const Bytes name = Spelt(u"\\??\\" + path);
    Bytes junction;
    Put(junction, kJunctionTag, 4), Put(junction, std::uint32_t(8 + name.size()), 2), Put(junction, 0, 2);
    Put(junction, 0, 2), Put(junction, std::uint32_t(name.size()), 2), Put(junction, std::uint32_t(name.size()), 2), Put(junction, 0, 2);
    junction.insert(junction.end(), name.begin(), name.end());
    fuzz::Require(ReparseTarget(junction) == path, "a junction leads where it was made to lead");
    return 0;
}
