#pragma once
// Every name of an NTFS volume, read from the volume's own file table ($MFT)
// in large sequential reads instead of folder by folder, and listed by folder
// as a folder listing on Windows lists it: the long names (no 8.3 aliases),
// one entry per name of a file with hard links, no metafiles, in the order of
// the folder's index (the volume's $UpCase collation).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "state/FolderEntry.h"
#include "formats/ntfs/NtfsRecords.h"

namespace cc {

// The bytes of a volume, from its start. The implementation reads a raw
// volume in whole sectors, whatever range is asked.
class VolumeBytes {
public:
    virtual ~VolumeBytes() = default;
    virtual bool read(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

class NtfsTable {
public:
    // The whole table, read `chunkBytes` at a time with `meanwhile` run
    // between the reads. Null for anything but a consistent NTFS volume: a
    // record in use that fails its checks, an attribute list that names what
    // is not there, a name in a folder that is no folder, a folder loop. A
    // record caught half-written, read twice, leaves only its folders to the
    // walk, where its names say which they are.
    static std::unique_ptr<NtfsTable> Read(VolumeBytes& volume, const std::function<void()>& meanwhile,
                                           std::size_t chunkBytes = 1 << 20);

    // The entries of the folder at `path` below the root ("" for the root,
    // else names each ended by "\"), in the folder's index order, each with
    // its file reference as `id`; nothing if no folder has that path, or if a
    // record of the folder's was caught half-written (the folder is walked).
    std::optional<std::vector<FolderEntry>> list(std::string_view path);

private:
    struct Record {
        std::uint64_t size = 0;        // of the unnamed data
        std::uint16_t sequence = 0;
        std::uint8_t flags = 0;
    };
    struct Name {
        std::uint64_t parent = 0;      // a file reference
        std::uint32_t record = 0;
        std::uint32_t text = 0;        // where its units start in text_
        std::uint8_t units = 0;
    };
    class Reader;
    std::u16string_view textOf(const Name& name) const { return {text_.data() + name.text, name.units}; }
    int collate(std::u16string_view a, std::u16string_view b) const;
    // Checks every name and files each under its folder, in the folder's order.
    bool index(const std::function<void()>& meanwhile);
    std::span<std::uint32_t> children(std::uint32_t folder);
    std::optional<std::uint32_t> subfolder(std::uint32_t folder, std::u16string_view name);

    std::vector<Record> records_;
    std::vector<Name> names_;
    std::vector<char16_t> text_;
    std::u16string upcase_;
    std::vector<std::uint32_t> first_;      // a folder's children are children_[first_[f], first_[f + 1])
    std::vector<std::uint32_t> children_;   // indexes into names_
    std::vector<std::uint32_t> walked_;     // the folders of records caught half-written
    std::vector<std::pair<std::string, std::uint32_t>> resolved_;   // the folders of the path listed last
};

}  // namespace cc
