#include "formats/ShellLink.h"

#include <algorithm>
#include <vector>

#include "formats/ByteReader.h"
#include "formats/Wtf8.h"

namespace cc {
namespace {

using Kind = ShortcutTarget::Kind;
using Guid = std::array<std::uint8_t, 16>;

// The header: its size, the link's class, its flags.
constexpr std::size_t kHeaderSize = 0x4C, kLinkClassAt = 4, kLinkFlagsAt = 0x14;
constexpr Guid kShellLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr Guid kMyComputerClsid = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                   0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

enum LinkFlag : std::uint32_t {
    HasLinkTargetIdList = 0x1, HasLinkInfo = 0x2, HasName = 0x4, HasRelativePath = 0x8, HasWorkingDir = 0x10,
    HasArguments = 0x20, HasIconLocation = 0x40, IsUnicode = 0x80, ForceNoLinkInfo = 0x100, HasExpString = 0x200,
    HasDarwinId = 0x1000, DisableKnownFolderTracking = 0x200000,
};

// Items: each starts with its size, then its type; the type's class says what it is.
constexpr std::size_t kItemTypeAt = 2, kSmallestItem = 3;
constexpr std::uint8_t kTypeClass = 0x70, kVolumeClass = 0x20, kFileClass = 0x30, kUnicodeName = 0x04;
constexpr std::uint8_t kRootItem = 0x1F;                         // a root item, named by its class
constexpr std::size_t kRootClassAt = 4, kSmallestRootItem = 20;
constexpr std::size_t kDriveAt = 3, kDriveSize = 4;             // a volume item's "C:\" and its NUL
constexpr std::size_t kPrimaryNameAt = 14, kSmallestFileItem = 16;   // a file or folder item

// LinkInfo: its size, its header's size, its flags, then the offsets of its texts.
constexpr std::size_t kInfoHeaderSizeAt = 4, kInfoFlagsAt = 8, kLocalBasePathAt = 0x10, kNetworkLinkAt = 0x14,
                      kSuffixAt = 0x18, kInfoHeader = 0x1C, kUnicodeLocalBasePathAt = 0x1C, kUnicodeSuffixAt = 0x20,
                      kUnicodeInfoHeader = 0x24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 1, kCommonNetworkRelativeLinkAndPathSuffix = 2;
// The network link inside LinkInfo: its size, the share name's offset, in the longer header the Unicode one's.
constexpr std::size_t kShareNameAt = 8, kNetworkLinkHeader = 0x14, kUnicodeShareNameAt = 0x14, kUnicodeNetworkLinkHeader = 0x1C;

// Extra data: blocks of a size and a signature, ended by one smaller than that.
constexpr std::size_t kBlockSignatureAt = 4, kSmallestBlock = 8;
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001, kSpecialFolderBlock = 0xA0000005,
                        kKnownFolderBlock = 0xA000000B;
constexpr std::size_t kEnvironmentBlockSize = 0x314, kAnsiTargetAt = 8, kAnsiTargetSize = 260, kUnicodeTargetAt = 268,
                      kUnicodeTargetSize = 520;
constexpr std::size_t kKnownFolderBlockSize = 0x1C, kKnownFolderIdAt = 8, kKnownFolderOffsetAt = 24;
constexpr std::size_t kSpecialFolderBlockSize = 0x10, kSpecialFolderIdAt = 8, kSpecialFolderOffsetAt = 12;

std::uint8_t TypeOf(std::span<const std::uint8_t> item) { return ByteReader(item).seek(kItemTypeAt).u8(); }

// Text up to the first NUL inside `bytes`; nullopt when none ends it there.
std::optional<std::string> Ansi(std::span<const std::uint8_t> bytes, const ShellLinkServices& services) {
    const auto nul = std::find(bytes.begin(), bytes.end(), 0);
    if (nul == bytes.end()) return std::nullopt;
    return services.ansiToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), nul - bytes.begin()));
}
std::optional<std::string> Unicode(std::span<const std::uint8_t> bytes) {
    bool ended = false;
    std::string text = Wtf8FromUtf16Bytes(bytes, ended);
    return ended ? std::optional<std::string>(std::move(text)) : std::nullopt;
}

// One name of a plain file-system list: no separators, no "." or "..".
bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

// The long name of a file or folder item from its extension block
// (0xBEEF0004), whose place the item's last two bytes give: nullopt when the
// item has no such block; an empty text when the block names nothing usable.
std::optional<std::string> LongName(std::span<const std::uint8_t> item, std::size_t firstBlock) {
    // The block: its size, version and signature; then the long name, which versions 7, 8 and 9 each moved.
    constexpr std::size_t kVersionAt = 2, kSignatureAt = 4, kBlockHeader = 8;
    constexpr std::size_t kNameAtVersion3 = 20, kNameAtVersion7 = 38, kNameAtVersion8 = 42, kNameAtVersion9 = 46;
    constexpr std::uint32_t kSignature = 0xBEEF0004;
    constexpr std::size_t kBlockOffset = 2;   // the item's last bytes: where the block starts
    if (item.size() < firstBlock + kBlockOffset) return std::nullopt;
    ByteReader r(item);
    const std::size_t block = r.seek(item.size() - kBlockOffset).u16();
    if (block < firstBlock || block + kBlockHeader > item.size() - kBlockOffset) return std::nullopt;
    const std::size_t blockSize = r.seek(block).u16(), version = r.seek(block + kVersionAt).u16();
    const std::uint32_t signature = r.seek(block + kSignatureAt).u32();
    // Wine writes the same block with version and signature left 0, its name where version 3 has it.
    const bool wine = blockSize == item.size() - block && version == 0 && signature == 0;
    if (!(signature == kSignature && version >= 3) && !wine) return std::nullopt;
    const std::size_t nameAt =
        version >= 9 ? kNameAtVersion9 : version == 8 ? kNameAtVersion8 : version == 7 ? kNameAtVersion7 : kNameAtVersion3;
    if (blockSize > item.size() - block || nameAt > blockSize) return std::string();
    std::optional<std::string> name = Unicode(item.subspan(block + nameAt, blockSize - nameAt));
    return name && PlainName(*name) ? *name : std::string();
}

// "CFSF": a folder the shell shows through a delegate (AppData in the user's
// folder), holding a plain file item from kDelegatedItemAt on.
constexpr std::size_t kDelegateSignatureAt = 6, kDelegatedItemAt = 10;
bool DelegateItem(std::span<const std::uint8_t> item) {
    constexpr std::uint8_t kDelegateType = 0x74;
    constexpr std::uint32_t kDelegateSignature = 0x46534643;   // "CFSF"
    return item.size() >= kDelegatedItemAt + kSmallestFileItem && TypeOf(item) == kDelegateType &&
           ByteReader(item).seek(kDelegateSignatureAt).u32() == kDelegateSignature &&
           (TypeOf(item.subspan(kDelegatedItemAt)) & kTypeClass) == kFileClass;
}

// The name a file or folder item gives the file on disk: its long name, else
// its primary name (code page, or Unicode where the type says), which older
// shells wrote alone and which is the 8.3 name where a long one exists.
std::optional<std::string> EntryName(std::span<const std::uint8_t> item, const ShellLinkServices& services) {
    const std::size_t file = DelegateItem(item) ? kDelegatedItemAt : 0;   // where the file item starts
    const std::uint8_t type = TypeOf(item.subspan(file));
    if (file == 0 && (item.size() < kSmallestFileItem || (type & kTypeClass) != kFileClass)) return std::nullopt;
    const std::size_t primary = file + kPrimaryNameAt;
    if (std::optional<std::string> name = LongName(item, primary)) return name->empty() ? std::nullopt : name;
    const std::span<const std::uint8_t> rest = item.subspan(primary);
    std::optional<std::string> name = type & kUnicodeName ? Unicode(rest) : Ansi(rest, services);
    return name && PlainName(*name) ? name : std::nullopt;
}

using Items = std::vector<std::span<const std::uint8_t>>;

// The items of a list, split by their sizes; nullopt when they do not end in
// the terminal item inside the list.
std::optional<Items> SplitList(ByteReader list) {
    Items items;
    while (list.remaining() >= 2) {
        const std::size_t size = ByteReader(list).u16();   // an item's size counts its own two bytes
        if (size == 0) return items;
        const std::span<const std::uint8_t> item = list.bytes(size);
        if (size < kSmallestItem || !list.ok()) return std::nullopt;
        items.push_back(item);
    }
    return std::nullopt;
}

// "C:\" from a volume item that names its drive, in any of the volume types.
std::optional<std::string> DriveRoot(std::span<const std::uint8_t> item) {
    const std::span<const std::uint8_t> drive = ByteReader(item).seek(kDriveAt).bytes(kDriveSize);
    if ((TypeOf(item) & kTypeClass) != kVolumeClass || drive.empty()) return std::nullopt;
    const char letter = static_cast<char>(drive[0] | 0x20);
    if (letter < 'a' || letter > 'z' || drive[1] != ':' || drive[2] != '\\' || drive[3] != 0) return std::nullopt;
    return std::string{static_cast<char>(drive[0]), ':', '\\'};
}

// The folder a root item of the desktop (0x1F), or of the computer in the
// volume types (0x2E), names by its class: the user's folder, Documents, ...
std::optional<std::string> ClassFolder(std::span<const std::uint8_t> item, const ShellLinkServices& services) {
    ByteReader r(item);
    const ShellFolderId folder{true, r.seek(kRootClassAt).guid(), 0, true};
    if (!r.ok()) return std::nullopt;
    std::optional<std::string> path = services.folderPath(folder);
    return path && !path->empty() ? path : std::nullopt;
}

// `folder` followed by the names of items [from, end): nullopt unless all are files or folders.
std::optional<std::string> Joined(std::string folder, const Items& items, std::size_t from, const ShellLinkServices& services) {
    for (std::size_t i = from; i < items.size(); ++i) {
        std::optional<std::string> name = EntryName(items[i], services);
        if (!name) return std::nullopt;
        if (folder.empty() || folder.back() != '\\') folder += '\\';
        folder += *name;
    }
    return folder;
}

struct FolderBlock {
    ShellFolderId id;
    std::uint32_t offset = 0;   // into the item list: where the folder's first child starts
};

// The path of an item list, never binding a shell folder. A known or special
// folder, when the link names one, stands at its current place.
std::optional<std::string> ListPath(const Items& items, const std::vector<FolderBlock>& folders,
                                    const ShellLinkServices& services) {
    for (const FolderBlock& folder : folders) {
        std::size_t at = 0, child = 0;
        while (child < items.size() && at < folder.offset) at += items[child++].size();
        if (at != folder.offset || child == 0) continue;
        std::optional<std::string> base = services.folderPath(folder.id);
        if (!base || base->empty()) continue;
        if (std::optional<std::string> path = Joined(*base, items, child, services)) return path;
    }
    if (items.empty() || TypeOf(items[0]) != kRootItem || items[0].size() < kSmallestRootItem) return std::nullopt;
    if (ByteReader(items[0]).seek(kRootClassAt).guid() != kMyComputerClsid) {
        std::optional<std::string> base = ClassFolder(items[0], services);
        return base ? Joined(*base, items, 1, services) : std::nullopt;
    }
    if (items.size() < 2 || (TypeOf(items[1]) & kTypeClass) != kVolumeClass) return std::nullopt;
    std::optional<std::string> root = DriveRoot(items[1]);
    if (!root) root = ClassFolder(items[1], services);
    return root ? Joined(*root, items, 2, services) : std::nullopt;
}

// A NUL-ended text at `offset` inside a structure, after its header: an offset
// into the header would read the structure's own fields as a name.
std::optional<std::string> InfoText(std::span<const std::uint8_t> structure, std::size_t header, std::size_t offset,
                                    bool unicode, const ShellLinkServices& services) {
    if (offset < header || offset >= structure.size()) return std::nullopt;
    const std::span<const std::uint8_t> rest = structure.subspan(offset);
    return unicode ? Unicode(rest) : Ansi(rest, services);
}

// A suffix appended to a base path, with one separator between them, as the shell appends a path.
std::string Appended(std::string base, const std::string& suffix) {
    if (!suffix.empty() && base.back() != '\\' && suffix.front() != '\\') base += '\\';
    return base + suffix;
}

// The path LinkInfo names: the local base path and common suffix, or the
// share and suffix; nullopt when it names none.
std::optional<std::string> LinkInfoTarget(std::span<const std::uint8_t> info, const ShellLinkServices& services) {
    ByteReader r(info);
    const std::size_t headerSize = r.seek(kInfoHeaderSizeAt).u32();
    if (headerSize < kInfoHeader || headerSize > info.size()) return std::nullopt;
    const std::uint32_t flags = r.seek(kInfoFlagsAt).u32();
    const bool unicodeOffsets = headerSize >= kUnicodeInfoHeader;
    auto text = [&](std::size_t ansiField, std::size_t unicodeField) {
        const std::size_t unicodeOffset = unicodeOffsets ? r.seek(unicodeField).u32() : 0;
        return unicodeOffset ? InfoText(info, headerSize, unicodeOffset, true, services)
                             : InfoText(info, headerSize, r.seek(ansiField).u32(), false, services);
    };
    std::optional<std::string> suffix = text(kSuffixAt, kUnicodeSuffixAt);
    if (flags & kVolumeIdAndLocalBasePath) {
        std::optional<std::string> base = text(kLocalBasePathAt, kUnicodeLocalBasePathAt);
        // "::{CLSID}" is a shell item's parsing name, which Wine writes here for a printer: no path.
        if (base && !base->empty() && !base->starts_with("::")) return Appended(*base, suffix.value_or(""));
    }
    if (flags & kCommonNetworkRelativeLinkAndPathSuffix) {
        const std::size_t link = r.seek(kNetworkLinkAt).u32();
        if (link < headerSize || link >= info.size()) return std::nullopt;
        const std::size_t linkSize = r.seek(link).u32();
        if (linkSize < kNetworkLinkHeader || linkSize > info.size() - link) return std::nullopt;
        const std::span<const std::uint8_t> network = info.subspan(link, linkSize);
        ByteReader n(network);
        // A share-name offset past the short header says the header goes on with the two Unicode offsets.
        const std::size_t netOffset = n.seek(kShareNameAt).u32();
        const std::size_t linkHeader = netOffset > kNetworkLinkHeader ? kUnicodeNetworkLinkHeader : kNetworkLinkHeader;
        const std::size_t netUnicode = linkHeader == kUnicodeNetworkLinkHeader && linkSize >= kUnicodeNetworkLinkHeader
                                           ? n.seek(kUnicodeShareNameAt).u32()
                                           : 0;
        std::optional<std::string> net = netUnicode ? InfoText(network, linkHeader, netUnicode, true, services)
                                                    : InfoText(network, linkHeader, netOffset, false, services);
        if (!net || net->empty()) return std::nullopt;
        return Appended(*net, suffix.value_or(""));
    }
    return std::nullopt;
}

// Read part by part, each found by the size of the one before it. `r` ends
// past the last byte looked at, or at the end where a part ran past it.
ShortcutTarget Read(ByteReader& r, const ShellLinkServices& services) {
    const ShortcutTarget unreadable{Kind::Unreadable, {}};
    if (r.u32() != kHeaderSize) return unreadable;
    ByteReader header = r.seek(0).sub(kHeaderSize);
    if (!r.ok() || header.seek(kLinkClassAt).guid() != kShellLinkClsid) return unreadable;
    const std::uint32_t flags = header.seek(kLinkFlagsAt).u32();

    std::optional<Items> items;
    if (flags & HasLinkTargetIdList) {
        const std::size_t listSize = r.u16();
        const ByteReader list = r.sub(listSize);
        if (!r.ok()) return unreadable;
        items = SplitList(list);
        if (!items) return unreadable;   // the shell's load refuses a list that does not end inside itself
    }
    // What follows the item list may break off: LinkInfo, a string, an extra block. Windows still opens such a
    // link by the target its sound part names (Wine's load fails on a short LinkInfo or string), so the reading
    // ends there and the link is judged by what came before; a file whose sound part names no target is
    // Unreadable, never judged broken. A list that breaks off names nothing, as the shell's load refuses it.
    bool whole = true;
    std::span<const std::uint8_t> info;
    if (flags & HasLinkInfo) {
        const std::size_t infoAt = r.position(), infoSize = r.u32();
        const std::span<const std::uint8_t> read = r.seek(infoAt).bytes(infoSize);
        whole = r.ok() && infoSize >= kInfoHeader;
        if (whole) info = read;
    }
    const std::size_t unitSize = flags & IsUnicode ? 2 : 1;
    for (std::uint32_t text : {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation}) {
        if (!whole || !(flags & text)) continue;
        r.skip(r.u16() * unitSize);   // none of these names the target
        whole = r.ok();
    }
    // The extra data is blocks ended by a block of size < 4; where the file ends before that block, inside
    // it, or a block runs past the end, Wine's load still succeeds and the blocks end there.
    // HasDarwinID alone makes the link advertised, Darwin block or not: Wine's load fails without the
    // block, Windows documents nothing, and wherever the load succeeds GetFlags reports the flag.
    if (flags & HasDarwinId) return {Kind::Elsewhere, {}};   // started through Windows Installer

    std::optional<std::string> environment;
    std::optional<FolderBlock> known, special;   // the first of each, as the shell finds a block
    while (whole) {
        const std::size_t blockAt = r.position(), size = r.u32();
        if (size < kSmallestBlock) break;   // the terminal block, or the end
        ByteReader block = r.seek(blockAt).sub(size);
        if (!r.ok()) break;   // a block cut short
        const std::uint32_t signature = block.seek(kBlockSignatureAt).u32();
        if (signature == kEnvironmentBlock && size == kEnvironmentBlockSize && (flags & HasExpString) && !environment) {
            environment = Unicode(block.seek(kUnicodeTargetAt).bytes(kUnicodeTargetSize));
            if (!environment || environment->empty())
                environment = Ansi(block.seek(kAnsiTargetAt).bytes(kAnsiTargetSize), services);
        } else if (signature == kKnownFolderBlock && size == kKnownFolderBlockSize && !(flags & DisableKnownFolderTracking) &&
                   !known) {
            known = FolderBlock{{true, block.seek(kKnownFolderIdAt).guid(), 0}, block.seek(kKnownFolderOffsetAt).u32()};
        } else if (signature == kSpecialFolderBlock && size == kSpecialFolderBlockSize && !special) {
            special = FolderBlock{{false, {}, block.seek(kSpecialFolderIdAt).u32()}, block.seek(kSpecialFolderOffsetAt).u32()};
        }
    }

    if (environment && !environment->empty()) {
        if (!services.expand) return environment->find('%') == std::string::npos ? ShortcutTarget{Kind::Path, *environment}
                                                                                  : ShortcutTarget{Kind::NotJudged, {}};
        std::string expanded = services.expand(*environment);
        if (!expanded.empty()) return {Kind::Path, expanded};
    }
    if (items) {
        std::vector<FolderBlock> folders;   // the known folder first: it is the newer record
        for (const std::optional<FolderBlock>& folder : {known, special})
            if (folder) folders.push_back(*folder);
        if (std::optional<std::string> path = ListPath(*items, folders, services)) return {Kind::Path, *path};
    }
    // Where the list names no path, the shell takes LinkInfo's.
    if (!info.empty() && !(flags & ForceNoLinkInfo))
        if (std::optional<std::string> path = LinkInfoTarget(info, services)) return {Kind::Path, *path};
    if (items) return {Kind::Elsewhere, {}};   // a shell item, such as the Control Panel
    return unreadable;   // a relative path or arguments alone name no target
}

}  // namespace

ShellLinkReading ReadShellLink(std::span<const std::uint8_t> bytes, const ShellLinkServices& services) {
    ByteReader r(bytes);
    ShellLinkReading reading;
    reading.target = Read(r, services);
    reading.bytesUsed = r.position();
    return reading;
}

}  // namespace cc
