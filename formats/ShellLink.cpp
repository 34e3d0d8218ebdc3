#include "formats/ShellLink.h"

#include <algorithm>
#include <vector>

#include "formats/Wtf8.h"

namespace cc {
namespace {

using Kind = ShortcutTarget::Kind;

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::uint8_t kShellLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                              0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint8_t kMyComputerClsid[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                               0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

enum LinkFlag : std::uint32_t {
    HasLinkTargetIdList = 0x1, HasLinkInfo = 0x2, HasName = 0x4, HasRelativePath = 0x8, HasWorkingDir = 0x10,
    HasArguments = 0x20, HasIconLocation = 0x40, IsUnicode = 0x80, ForceNoLinkInfo = 0x100, HasExpString = 0x200,
    HasDarwinId = 0x1000, DisableKnownFolderTracking = 0x200000,
};
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001, kSpecialFolderBlock = 0xA0000005,
                        kKnownFolderBlock = 0xA000000B;

// The bytes with every read checked, remembering how far anything was read.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : b_(bytes) {}
    std::size_t size() const { return b_.size(); }
    std::size_t used() const { return used_; }
    // True when [at, at + n) lies inside the bytes; marks them read.
    bool need(std::size_t at, std::size_t n) {
        if (at > b_.size() || n > b_.size() - at) {
            used_ = b_.size();   // it looked to the end and found it short
            return false;
        }
        used_ = std::max(used_, at + n);
        return true;
    }
    std::uint32_t u16(std::size_t at) { return need(at, 2) ? b_[at] | b_[at + 1] << 8 : 0; }
    std::uint32_t u32(std::size_t at) {
        return need(at, 4) ? b_[at] | b_[at + 1] << 8 | b_[at + 2] << 16 | std::uint32_t(b_[at + 3]) << 24 : 0;
    }
    std::span<const std::uint8_t> span(std::size_t at, std::size_t n) {
        return need(at, n) ? b_.subspan(at, n) : std::span<const std::uint8_t>();
    }

private:
    std::span<const std::uint8_t> b_;
    std::size_t used_ = 0;
};

bool Same(std::span<const std::uint8_t> bytes, const std::uint8_t (&expected)[16]) {
    return bytes.size() == 16 && std::equal(bytes.begin(), bytes.end(), expected);
}

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
    if (item.size() < firstBlock + 2) return std::nullopt;
    const std::size_t block = item[item.size() - 2] | item[item.size() - 1] << 8;
    if (block < firstBlock || block + 8 > item.size() - 2) return std::nullopt;
    const std::size_t blockSize = item[block] | item[block + 1] << 8, version = item[block + 2] | item[block + 3] << 8;
    const bool signature = item[block + 4] == 0x04 && item[block + 5] == 0x00 && item[block + 6] == 0xEF &&
                           item[block + 7] == 0xBE;
    // Wine writes the same block with version and signature left 0, its name where version 3 has it.
    const bool wine = blockSize == item.size() - block && version == 0 &&
                      !(item[block + 4] | item[block + 5] | item[block + 6] | item[block + 7]);
    if (!(signature && version >= 3) && !wine) return std::nullopt;
    const std::size_t nameAt = version >= 9 ? 46 : version == 8 ? 42 : version == 7 ? 38 : 20;
    if (blockSize > item.size() - block || nameAt > blockSize) return std::string();
    std::optional<std::string> name = Unicode(item.subspan(block + nameAt, blockSize - nameAt));
    return name && PlainName(*name) ? *name : std::string();
}

// "CFSF": a folder the shell shows through a delegate (AppData in the user's
// folder), holding a plain file item from offset 10 on.
bool DelegateItem(std::span<const std::uint8_t> item) {
    return item.size() >= 26 && item[2] == 0x74 && item[6] == 'C' && item[7] == 'F' && item[8] == 'S' && item[9] == 'F' &&
           (item[12] & 0x70) == 0x30;
}

// The name a file or folder item gives the file on disk: its long name, else
// its primary name (code page, or Unicode where the type says), which older
// shells wrote alone and which is the 8.3 name where a long one exists.
std::optional<std::string> EntryName(std::span<const std::uint8_t> item, const ShellLinkServices& services) {
    const bool delegate = DelegateItem(item);
    if (!delegate && (item.size() < 16 || (item[2] & 0x70) != 0x30)) return std::nullopt;
    const std::size_t primary = delegate ? 24 : 14;
    if (std::optional<std::string> name = LongName(item, primary)) return name->empty() ? std::nullopt : name;
    const std::span<const std::uint8_t> rest = item.subspan(primary);
    std::optional<std::string> name = item[primary - 12] & 0x04 ? Unicode(rest) : Ansi(rest, services);
    return name && PlainName(*name) ? name : std::nullopt;
}

using Items = std::vector<std::span<const std::uint8_t>>;

// The items of a list, split by their sizes; nullopt when they do not end in
// the terminal item inside the list.
std::optional<Items> SplitList(std::span<const std::uint8_t> list) {
    Items items;
    for (std::size_t at = 0; at + 2 <= list.size();) {
        const std::size_t size = list[at] | list[at + 1] << 8;
        if (size == 0) return items;
        if (size < 3 || size > list.size() - at) return std::nullopt;
        items.push_back(list.subspan(at, size));
        at += size;
    }
    return std::nullopt;
}

// "C:\" from a volume item that names its drive, in any of the volume types.
std::optional<std::string> DriveRoot(std::span<const std::uint8_t> item) {
    if ((item[2] & 0x70) != 0x20 || item.size() < 7) return std::nullopt;
    const char letter = static_cast<char>(item[3] | 0x20);
    if (letter < 'a' || letter > 'z' || item[4] != ':' || item[5] != '\\' || item[6] != 0) return std::nullopt;
    return std::string{static_cast<char>(item[3]), ':', '\\'};
}

// The folder a root item of the desktop (0x1F), or of the computer in the
// volume types (0x2E), names by its class: the user's folder, Documents, ...
std::optional<std::string> ClassFolder(std::span<const std::uint8_t> item, const ShellLinkServices& services) {
    if (item.size() < 20) return std::nullopt;
    ShellFolderId folder{true, {}, 0, true};
    std::copy(item.begin() + 4, item.begin() + 20, folder.guid.begin());
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
    if (items.empty() || items[0][2] != 0x1F || items[0].size() < 20) return std::nullopt;
    if (!Same(items[0].subspan(4, 16), kMyComputerClsid)) {
        std::optional<std::string> base = ClassFolder(items[0], services);
        return base ? Joined(*base, items, 1, services) : std::nullopt;
    }
    if (items.size() < 2 || (items[1][2] & 0x70) != 0x20) return std::nullopt;
    std::optional<std::string> root = DriveRoot(items[1]);
    if (!root) root = ClassFolder(items[1], services);
    return root ? Joined(*root, items, 2, services) : std::nullopt;
}

// A NUL-ended text at `offset` inside the structure [info, info + size), after its header: an offset
// into the header would read the structure's own fields as a name.
std::optional<std::string> InfoText(Bytes& bytes, std::size_t info, std::size_t header, std::size_t size, std::size_t offset,
                                    bool unicode, const ShellLinkServices& services) {
    if (offset < header || offset >= size) return std::nullopt;
    std::span<const std::uint8_t> rest = bytes.span(info + offset, size - offset);
    return unicode ? Unicode(rest) : Ansi(rest, services);
}

// A suffix appended to a base path, with one separator between them, as the shell appends a path.
std::string Appended(std::string base, const std::string& suffix) {
    if (!suffix.empty() && base.back() != '\\' && suffix.front() != '\\') base += '\\';
    return base + suffix;
}

// The path LinkInfo names: the local base path and common suffix, or the
// share and suffix; nullopt when it names none.
std::optional<std::string> LinkInfoTarget(Bytes& bytes, std::size_t info, std::size_t size,
                                          const ShellLinkServices& services) {
    const std::size_t headerSize = bytes.u32(info + 4);
    if (headerSize < 0x1C || headerSize > size) return std::nullopt;
    const std::uint32_t flags = bytes.u32(info + 8);
    const bool unicodeOffsets = headerSize >= 0x24;
    auto text = [&](std::size_t ansiField, std::size_t unicodeField) {
        const std::size_t unicodeOffset = unicodeOffsets ? bytes.u32(info + unicodeField) : 0;
        return unicodeOffset ? InfoText(bytes, info, headerSize, size, unicodeOffset, true, services)
                             : InfoText(bytes, info, headerSize, size, bytes.u32(info + ansiField), false, services);
    };
    std::optional<std::string> suffix = text(0x18, 0x20);
    if (flags & 1) {   // VolumeIDAndLocalBasePath
        std::optional<std::string> base = text(0x10, 0x1C);
        // "::{CLSID}" is a shell item's parsing name, which Wine writes here for a printer: no path.
        if (base && !base->empty() && !base->starts_with("::")) return Appended(*base, suffix.value_or(""));
    }
    if (flags & 2) {   // CommonNetworkRelativeLinkAndPathSuffix
        const std::size_t link = bytes.u32(info + 0x14);
        if (link < headerSize || link >= size) return std::nullopt;
        const std::size_t linkSize = bytes.u32(info + link);
        if (linkSize < 0x14 || linkSize > size - link) return std::nullopt;
        // A share-name offset past 0x14 says the link's header goes on with the two Unicode offsets.
        const std::size_t netOffset = bytes.u32(info + link + 8), linkHeader = netOffset > 0x14 ? 0x1C : 0x14;
        const std::size_t netUnicode = linkHeader == 0x1C && linkSize >= 0x1C ? bytes.u32(info + link + 0x14) : 0;
        std::optional<std::string> net = netUnicode ? InfoText(bytes, info + link, linkHeader, linkSize, netUnicode, true, services)
                                                    : InfoText(bytes, info + link, linkHeader, linkSize, netOffset, false, services);
        if (!net || net->empty()) return std::nullopt;
        return Appended(*net, suffix.value_or(""));
    }
    return std::nullopt;
}

ShortcutTarget Read(Bytes& bytes, const ShellLinkServices& services) {
    const ShortcutTarget unreadable{Kind::Unreadable, {}};
    if (bytes.u32(0) != kHeaderSize || !bytes.need(0, kHeaderSize) || !Same(bytes.span(4, 16), kShellLinkClsid))
        return unreadable;
    const std::uint32_t flags = bytes.u32(20);
    std::size_t at = kHeaderSize;

    std::optional<Items> items;
    if (flags & HasLinkTargetIdList) {
        const std::size_t listSize = bytes.u16(at);
        if (!bytes.need(at + 2, listSize)) return unreadable;
        items = SplitList(bytes.span(at + 2, listSize));
        if (!items) return unreadable;   // the shell's load refuses a list that does not end inside itself
        at += 2 + listSize;
    }
    std::size_t info = 0, infoSize = 0;
    if (flags & HasLinkInfo) {
        infoSize = bytes.u32(at);
        if (infoSize < 0x1C || !bytes.need(at, infoSize)) return unreadable;
        info = at;
        at += infoSize;
    }
    const std::size_t unitSize = flags & IsUnicode ? 2 : 1;
    for (std::uint32_t text : {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation}) {
        if (!(flags & text)) continue;
        const std::size_t count = bytes.u16(at);
        if (!bytes.need(at, 2 + count * unitSize)) return unreadable;
        at += 2 + count * unitSize;   // none of these names the target
    }
    // How strict the load is. Everything before the extra data is read part by
    // part, each found by the length of the one before it: a part that breaks off
    // is a short read of the stream, and the shell's load fails (Windows and Wine
    // alike), so the file is Unreadable above. The extra data is blocks ended by a
    // block of size < 4. Where the file ends before that block or inside it, Wine's
    // load still succeeds; for that and for a block that runs past the end Windows
    // documents nothing. So the blocks end there and the link is judged by what
    // came before: calling it unreadable would offer for deletion a shortcut
    // Windows may open.
    // For the same reason HasDarwinID alone makes the link advertised, Darwin
    // block or not: Wine's load fails without the block, Windows documents
    // nothing, and wherever the load succeeds GetFlags reports the flag.
    if (flags & HasDarwinId) return {Kind::Elsewhere, {}};   // started through Windows Installer

    std::optional<std::string> environment;
    std::optional<FolderBlock> known, special;   // the first of each, as the shell finds a block
    while (bytes.need(at, 4)) {
        const std::size_t size = bytes.u32(at);
        if (size < 8 || !bytes.need(at, size)) break;   // the terminal block, or one cut short: see above
        const std::uint32_t signature = bytes.u32(at + 4);
        if (signature == kEnvironmentBlock && size == 0x314 && (flags & HasExpString) && !environment) {
            environment = Unicode(bytes.span(at + 268, 520));
            if (!environment || environment->empty()) environment = Ansi(bytes.span(at + 8, 260), services);
        } else if (signature == kKnownFolderBlock && size == 0x1C && !(flags & DisableKnownFolderTracking) && !known) {
            known = FolderBlock{{true, {}, 0}, bytes.u32(at + 24)};
            std::span<const std::uint8_t> guid = bytes.span(at + 8, 16);
            std::copy(guid.begin(), guid.end(), known->id.guid.begin());
        } else if (signature == kSpecialFolderBlock && size == 0x10 && !special) {
            special = FolderBlock{{false, {}, bytes.u32(at + 8)}, bytes.u32(at + 12)};
        }
        at += size;
    }

    if (environment && !environment->empty()) {
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
    if ((flags & HasLinkInfo) && !(flags & ForceNoLinkInfo))
        if (std::optional<std::string> path = LinkInfoTarget(bytes, info, infoSize, services)) return {Kind::Path, *path};
    if (items) return {Kind::Elsewhere, {}};   // a shell item, such as the Control Panel
    return unreadable;   // a relative path or arguments alone name no target
}

}  // namespace

ShellLinkReading ReadShellLink(std::span<const std::uint8_t> bytes, const ShellLinkServices& services) {
    Bytes checked(bytes);
    ShellLinkReading reading;
    reading.target = Read(checked, services);
    reading.bytesUsed = checked.used();
    return reading;
}

}  // namespace cc
