#pragma once
// Shortcut files built byte by byte as the shell link format lays them out: the header, an item list,
// LinkInfo, the strings and extra data blocks. Shared by the reader's host tests and the Wine test.
#include <cstdint>
#include <string>
#include <vector>
namespace cc::test {
using Bytes = std::vector<std::uint8_t>;
inline void Put16(Bytes& b, std::uint32_t v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
inline void Put32(Bytes& b, std::uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }
inline void PutText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()), b.push_back(0); }
inline void PutUnits(Bytes& b, const std::u16string& s) { for (char16_t u : s) Put16(b, u); Put16(b, 0); }
inline void PutSize(Bytes& b) { b[0] = std::uint8_t(b.size()), b[1] = std::uint8_t(b.size() >> 8); }   // into its first two bytes
inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Items: the computer (or another CLSID item), a drive, a file or folder with its long name in an
// extension block of the given version.
inline Bytes ClsidItem(const Bytes& clsid) { return Cat({{0x14, 0, 0x1F, 0x50}, clsid}); }
inline const Bytes kMyComputer{0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
inline const Bytes kControlPanel{0x80, 0x53, 0x1C, 0x87, 0xA0, 0x42, 0x69, 0x10, 0xA2, 0xEA, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
inline Bytes DriveItem(const std::string& root) {
    Bytes item{25, 0, 0x2F};
    return PutText(item, root), item.resize(25, 0), item;
}
inline Bytes FileItem(const std::u16string& name, int version = 9, std::uint8_t type = 0x32) {
    Bytes block;
    Put16(block, 0), Put16(block, version), Put32(block, 0xBEEF0004);
    block.resize(version >= 9 ? 46 : version == 8 ? 42 : version == 7 ? 38 : 20, 0);
    PutUnits(block, name), Put16(block, 16), PutSize(block);   // then where the block starts in the item
    Bytes item{0, 0, type, 0};
    item.resize(14, 0), item.insert(item.end(), {'A', 0});   // the short name
    return item = Cat({item, block}), PutSize(item), item;
}
inline Bytes IdList(std::initializer_list<Bytes> items) {   // as stored: its size, the items, the terminal item
    Bytes list = Cat(items), stored;
    Put16(list, 0), Put16(stored, list.size());
    return Cat({stored, list});
}

// LinkInfo with a local base path and suffix (Unicode forms too when asked), or with a share and suffix.
inline Bytes LocalInfo(const std::string& base, const std::string& suffix, const std::u16string& wideBase = {},
                       const std::u16string& wideSuffix = {}) {
    const bool wide = !wideBase.empty() || !wideSuffix.empty();
    const std::uint32_t header = wide ? 0x24 : 0x1C, volume = header, local = volume + 0x11;
    const std::uint32_t suffixAt = local + base.size() + 1, wideAt = suffixAt + suffix.size() + 1;
    Bytes info;
    Put32(info, 0), Put32(info, header), Put32(info, 1), Put32(info, volume), Put32(info, local), Put32(info, 0), Put32(info, suffixAt);
    if (wide) Put32(info, wideAt), Put32(info, wideAt + 2 * (wideBase.size() + 1));
    Put32(info, 0x11), Put32(info, 3), Put32(info, 0), Put32(info, 0x10), info.push_back(0);   // the volume
    PutText(info, base), PutText(info, suffix);
    if (wide) PutUnits(info, wideBase), PutUnits(info, wideSuffix);
    return PutSize(info), info;
}
inline Bytes NetworkInfo(const std::string& share, const std::string& suffix) {
    Bytes info;
    const std::uint32_t link = 0x1C, linkSize = 0x14 + share.size() + 1;
    Put32(info, 0), Put32(info, 0x1C), Put32(info, 2), Put32(info, 0), Put32(info, 0), Put32(info, link), Put32(info, link + linkSize);
    Put32(info, linkSize), Put32(info, 0), Put32(info, 0x14), Put32(info, 0), Put32(info, 0x20000);
    PutText(info, share), PutText(info, suffix);
    return PutSize(info), info;
}

// One string of the string data, Unicode or in the code page.
inline Bytes Text(const std::string& s, bool unicode = true) {
    Bytes b;
    Put16(b, s.size());
    for (char c : s) unicode ? Put16(b, std::uint8_t(c)) : b.push_back(std::uint8_t(c));
    return b;
}

// Extra data: an environment or Darwin block (the text in the code page, then in Unicode); a known or
// special folder block.
enum : std::uint32_t { kEnvironmentBlock = 0xA0000001, kDarwinBlock = 0xA0000006 };
inline Bytes TextBlock(std::uint32_t signature, const std::string& ansi, const std::u16string& wide) {
    Bytes b;
    Put32(b, 0x314), Put32(b, signature), PutText(b, ansi), b.resize(8 + 260, 0), PutUnits(b, wide);
    return b.resize(0x314, 0), b;
}
inline Bytes FolderBlock(bool known, std::uint32_t csidl, std::uint32_t offset, const Bytes& guid = {}) {
    Bytes b;
    Put32(b, known ? 0x1C : 0x10), Put32(b, known ? 0xA000000B : 0xA0000005);
    if (known) b.insert(b.end(), guid.begin(), guid.end()); else Put32(b, csidl);
    return Put32(b, offset), b;
}

// The whole file: header with the flags, then the parts in the order given.
inline Bytes Link(std::uint32_t flags, std::initializer_list<Bytes> parts, bool terminal = true) {
    Bytes link{0x4C, 0, 0, 0, 0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    Put32(link, flags), link.resize(0x4C, 0);
    link = Cat({link, Cat(parts)});
    if (terminal) Put32(link, 0);
    return link;
}

// The rows of the corpus table (tests/host/LinkCorpus.tsv), each of its five tab-separated fields; comments left out.
inline std::vector<std::vector<std::string>> CorpusRows(const std::string& table) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    for (char c : table) c == '\n' ? rows.emplace_back(1), void() : c == '\t' ? rows.back().emplace_back(), void() : rows.back().back().push_back(c);
    return std::erase_if(rows, [](const auto& row) { return row.size() != 5 || row[0].starts_with("#"); }), rows;
}
}  // namespace cc::test
