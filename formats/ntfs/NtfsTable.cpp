#include "formats/ntfs/NtfsTable.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "formats/Wtf8.h"

namespace cc {

using namespace ntfs;

namespace {

constexpr std::uint8_t kInUse = 1, kFolder = 2, kReparse = 4, kExtension = 8;
constexpr std::uint32_t kRoot = 5, kUpCase = 10, kFirstUserRecord = 16;   // below 16: the metafiles
constexpr std::uint32_t kReparsePointAttribute = 0x400;
constexpr std::uint64_t kLargestList = 1 << 20, kUpCaseBytes = 65536 * 2;

// The bytes [offset, offset + out.size()) of an attribute whose clusters `runs` maps, in VCN order.
bool ReadMapped(VolumeBytes& volume, const std::vector<Run>& runs, std::uint64_t clusterBytes, std::uint64_t offset,
                std::span<std::uint8_t> out) {
    while (!out.empty()) {
        const std::uint64_t vcn = offset / clusterBytes, within = offset % clusterBytes;
        auto run = std::upper_bound(runs.begin(), runs.end(), vcn, [](std::uint64_t v, const Run& r) { return v < r.vcn; });
        if (run == runs.begin() || vcn - (--run)->vcn >= run->length) return false;
        const std::uint64_t clustersLeft = run->vcn + run->length - vcn;
        const std::size_t piece = clustersLeft > (out.size() + within) / clusterBytes
                                      ? out.size()
                                      : static_cast<std::size_t>(clustersLeft * clusterBytes - within);
        if (run->lcn < 0) std::fill_n(out.data(), piece, 0);
        else if (!volume.read(static_cast<std::uint64_t>(run->lcn + (vcn - run->vcn)) * clusterBytes + within, out.first(piece)))
            return false;
        out = out.subspan(piece);
        offset += piece;
    }
    return true;
}

// Runs of one extent of a non-resident attribute, which must cover exactly its VCNs.
bool AddExtent(const Attribute& a, std::uint64_t clusters, std::vector<Run>& runs) {
    const std::size_t before = runs.size();
    if (a.resident || !DecodeRuns(a.pairs, a.lowestVcn, clusters, runs)) return false;
    const std::uint64_t end = runs.size() == before ? a.lowestVcn : runs.back().vcn + runs.back().length;
    return end == a.highestVcn + 1;
}

// Whether no two runs share a cluster: reading an attribute then never reads more than the volume holds.
bool Disjoint(std::vector<Run> runs) {
    std::erase_if(runs, [](const Run& r) { return r.lcn < 0; });
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.lcn < b.lcn; });
    for (std::size_t i = 1; i < runs.size(); ++i)
        if (static_cast<std::uint64_t>(runs[i].lcn) < runs[i - 1].lcn + runs[i - 1].length) return false;
    return true;
}

// What of an attribute list the table takes: a name, the file's attributes or its data's size, kept in another record.
bool Wanted(const ListEntry& entry, std::uint32_t record) {
    return (entry.type == kStandardInformation || entry.type == kFileName ||
            (entry.type == kData && !entry.named && entry.lowestVcn == 0)) &&
           RecordNumber(entry.record) != record;
}

bool SortedAndWhole(std::vector<Run>& runs, bool sparseAllowed) {
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.vcn < b.vcn; });
    std::uint64_t next = 0;
    for (const Run& run : runs) {
        if (run.vcn != next || (run.lcn < 0 && !sparseAllowed)) return false;
        next = run.vcn + run.length;
    }
    return true;
}

}  // namespace

// One pass over the table's records in their order on disk, then what the
// pass could not settle alone: attribute lists and the upcase table.
class NtfsTable::Reader {
public:
    Reader(NtfsTable& table, VolumeBytes& volume, const std::function<void()>& meanwhile)
        : t_(table), volume_(volume), meanwhile_(meanwhile) {}

    bool read(std::size_t chunkBytes) {
        std::vector<std::uint8_t> sector(512);
        std::optional<BootSector> boot;
        if (!volume_.read(0, sector) || !(boot = ReadBootSector(sector))) return false;
        boot_ = *boot;
        if (!readTableRuns()) return false;
        const std::uint64_t size = boot_.bytesPerRecord, perChunk = std::max<std::uint64_t>(1, chunkBytes / size);
        std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min(perChunk, records_) * size));
        for (std::uint64_t first = 0; first < records_; first += perChunk) {
            const std::uint64_t count = std::min(perChunk, records_ - first);
            // Room for a name or two a record, grown with the records read: a table that claims more records
            // than the volume gives takes no memory for them. Grown sixteenfold, not twofold: each growth copies
            // what is held and touches new pages, which cost a third of the pass at twofold.
            if (t_.records_.capacity() < first + count) {
                const auto room = static_cast<std::size_t>(std::min(records_, 16 * (first + count)));
                t_.records_.reserve(room);
                t_.names_.reserve(room + room / 8);
                t_.text_.reserve(16 * room);
            }
            const auto bytes = std::span(chunk).first(static_cast<std::size_t>(count * size));
            if (!ReadMapped(volume_, tableRuns_, boot_.bytesPerCluster, first * size, bytes)) return false;
            for (std::uint64_t i = 0; i < count; ++i)
                if (!take(static_cast<std::uint32_t>(first + i), bytes.subspan(static_cast<std::size_t>(i * size), size)))
                    return false;
            meanwhile_();
        }
        return resolveLists() && readUpCase() && t_.index(meanwhile_);
    }

private:
    // What an extension record holds that its base record's attribute list may name.
    struct Extension {
        std::uint32_t record = 0;
        std::uint32_t type = 0;
        std::uint16_t instance = 0;
        std::uint16_t sequence = 0;
        std::uint64_t base = 0;
        std::uint64_t size = 0;        // data
        std::uint32_t attributes = 0;  // standard information
        std::optional<FileName> name;
        std::u16string units;          // the name's, kept: the record's bytes go with the chunk
    };
    struct List {
        std::uint32_t record = 0;
        std::vector<ListEntry> entries;   // only the ones the table takes
    };

    bool readValue(const Attribute& a, std::vector<std::uint8_t>& value, std::uint64_t largest) {
        if (a.resident) {
            value.assign(a.value.begin(), a.value.end());
            return true;
        }
        std::vector<Run> runs;
        if (a.dataSize > largest || !AddExtent(a, boot_.clusters, runs) || !SortedAndWhole(runs, true) || !Disjoint(runs))
            return false;
        value.resize(static_cast<std::size_t>(a.dataSize));
        return ReadMapped(volume_, runs, boot_.bytesPerCluster, 0, value);
    }

    // The table's own runs: record 0's data, continued in the records its attribute list names.
    bool readTableRuns() {
        std::vector<std::uint8_t> bytes(boot_.bytesPerRecord), listValue;
        FileRecord record;
        if (!volume_.read(boot_.tableCluster * boot_.bytesPerCluster, bytes) || !ApplyFixups(bytes) ||
            !record.read(bytes) || !record.inUse() || record.base() != 0)
            return false;
        const std::uint64_t self = std::uint64_t{record.sequence()} << 48;
        std::vector<ListEntry> list;
        bool listed = false;
        Attribute a;
        while (record.next(a)) {
            if (a.type == kData && !a.named) {
                if (!AddExtent(a, boot_.clusters, tableRuns_)) return false;
                if (a.lowestVcn == 0) records_ = a.initializedSize / boot_.bytesPerRecord;
            } else if (a.type == kAttributeList) {
                if (listed || !readValue(a, listValue, kLargestList) || !ReadAttributeList(listValue, list)) return false;
                listed = true;
            }
        }
        // No table larger than the volume: what the pass and the lists read is bounded by the volume's size.
        if (record.broken() || !SortedAndWhole(tableRuns_, false) || records_ <= kFirstUserRecord ||
            records_ >= (std::uint64_t{1} << 32) || records_ * boot_.bytesPerRecord > boot_.clusters * boot_.bytesPerCluster)
            return false;
        // The rest of the data, an extent an entry, each starting where the runs so far end: checked as it comes.
        // An extension record is read once for the entries that follow each other in it, and no more often in all
        // than the table has records.
        std::uint64_t end = tableRuns_.empty() ? 0 : tableRuns_.back().vcn + tableRuns_.back().length, reads = 0, held = 0;
        for (const ListEntry& entry : list) {
            if (entry.type != kData || entry.named || RecordNumber(entry.record) == 0) continue;
            // Extension records of the table lie in the part already mapped.
            if (RecordNumber(entry.record) != held &&
                (++reads > records_ ||
                 !ReadMapped(volume_, tableRuns_, boot_.bytesPerCluster, RecordNumber(entry.record) * boot_.bytesPerRecord, bytes) ||
                 !ApplyFixups(bytes)))
                return false;
            held = RecordNumber(entry.record);
            if (!record.read(bytes) || !record.inUse() || record.base() != self || record.sequence() != SequenceOf(entry.record))
                return false;
            bool found = false;
            const std::size_t before = tableRuns_.size();
            while (record.next(a))
                if (a.type == kData && !a.named && a.instance == entry.instance)
                    found = !found && a.lowestVcn == end && AddExtent(a, boot_.clusters, tableRuns_);
            if (!found || record.broken() ||
                std::any_of(tableRuns_.begin() + before, tableRuns_.end(), [](const Run& r) { return r.lcn < 0; }))
                return false;
            end = tableRuns_.empty() ? 0 : tableRuns_.back().vcn + tableRuns_.back().length;
        }
        return !tableRuns_.empty() && Disjoint(tableRuns_) && end * boot_.bytesPerCluster >= records_ * boot_.bytesPerRecord;
    }

    // One record of the pass. A record never used holds no "FILE"; one not in use is skipped unread.
    bool take(std::uint32_t number, std::span<std::uint8_t> bytes) {
        Record& kept = t_.records_.emplace_back();
        if (std::memcmp(bytes.data(), "FILE", 4) != 0) return std::memcmp(bytes.data(), "BAAD", 4) != 0;
        if (!FileRecord::MarkedInUse(bytes)) return true;
        // A record caught half-written on a volume in use is read once more; if it still is, its folders are walked.
        if (!ApplyFixups(bytes) && !(readAgain(number, bytes) && ApplyFixups(bytes))) return takeTorn(bytes);
        if (!FileRecord::MarkedInUse(bytes)) return true;
        FileRecord record;
        if (!record.read(bytes)) return false;
        kept.sequence = record.sequence();
        kept.flags = kInUse | (record.directory() ? kFolder : 0);
        if (record.base() != 0) {
            kept.flags |= kExtension;
            return keepExtension(number, record);
        }
        Attribute a;
        bool listed = false;
        while (record.next(a)) {
            if (a.type == kStandardInformation && (FileAttributes(a.value) & kReparsePointAttribute)) {
                kept.flags |= kReparse;
            } else if (a.type == kFileName) {
                const std::optional<FileName> name = a.resident ? ReadFileName(a.value) : std::nullopt;
                if (!name) return false;
                if (!name->isDosAlias()) addName(*name, number, Utf16FromBytes(name->name));
            } else if (a.type == kData && !a.named && a.lowestVcn == 0) {
                kept.size = a.size();
                // The upcase table is read once the pass is done: its value, or where its clusters are.
                if (number == kUpCase && a.resident) upCaseValue_.assign(a.value.begin(), a.value.end());
                else if (number == kUpCase && !AddExtent(a, boot_.clusters, upCaseRuns_)) return false;
            } else if (a.type == kAttributeList) {
                // One list a record, as NTFS keeps it, read here; the lists not resident together read no more than
                // the table's size. Of its entries only those the table takes are kept for after the pass.
                if (listed || (!a.resident && (listBytes_ += a.dataSize) > records_ * boot_.bytesPerRecord) ||
                    !readValue(a, listValue_, kLargestList))
                    return false;
                listed = true;
                entries_.clear();
                if (!ReadAttributeList(listValue_, entries_)) return false;
                std::vector<ListEntry> wanted;
                std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(wanted),
                             [&](const ListEntry& e) { return Wanted(e, number); });
                if (!wanted.empty()) lists_.push_back(List{number, std::move(wanted)});
                if (!a.resident) meanwhile_();
            }
        }
        return !record.broken();
    }

    bool readAgain(std::uint32_t number, std::span<std::uint8_t> bytes) {
        return ReadMapped(volume_, tableRuns_, boot_.bytesPerCluster, std::uint64_t{number} * boot_.bytesPerRecord, bytes);
    }

    // The folders of a record still half-written, from the strides written whole, when they hold every name of it;
    // else the table is in doubt.
    bool takeTorn(std::span<std::uint8_t> bytes) {
        FileRecord record;
        const std::size_t whole = ApplyLeadingFixups(bytes);
        if (whole == 0 || !record.read(bytes.first(whole), false) || record.base() != 0) return false;
        std::vector<std::uint32_t> folders;
        Attribute a;
        while (record.next(a)) {
            const std::optional<FileName> name = a.type == kFileName && a.resident ? ReadFileName(a.value) : std::nullopt;
            if (a.type == kAttributeList || (a.type == kFileName && !name)) return false;   // names elsewhere, or none
            if (name) folders.push_back(static_cast<std::uint32_t>(std::min<std::uint64_t>(RecordNumber(name->parent), ~0u)));
        }
        // Attributes come in the order of their types: one past the names that is cut off leaves none out.
        if (folders.empty() || (record.broken() && record.stoppedAt() <= kFileName)) return false;
        t_.walked_.insert(t_.walked_.end(), folders.begin(), folders.end());
        return true;
    }

    void addName(const FileName& name, std::uint32_t record, const std::u16string& units) {
        t_.names_.push_back({name.parent, record, static_cast<std::uint32_t>(t_.text_.size()), static_cast<std::uint8_t>(units.size())});
        t_.text_.insert(t_.text_.end(), units.begin(), units.end());
    }

    bool keepExtension(std::uint32_t number, FileRecord& record) {
        Attribute a;
        while (record.next(a)) {
            if (a.type != kStandardInformation && a.type != kFileName && !(a.type == kData && !a.named && a.lowestVcn == 0))
                continue;
            Extension& kept = extensions_.emplace_back(Extension{number, a.type, a.instance, record.sequence(), record.base()});
            kept.size = a.size();
            if (a.type == kStandardInformation) kept.attributes = FileAttributes(a.value);
            if (a.type == kFileName && !(a.resident && (kept.name = ReadFileName(a.value)))) return false;
            if (kept.name) kept.units = Utf16FromBytes(kept.name->name);
        }
        return !record.broken();
    }

    // Whatever an attribute list puts in another record is taken from there, if that record is
    // one of this file's and holds exactly that attribute.
    bool resolveLists() {
        const auto order = [](const Extension& e) { return std::tuple(e.record, e.type, e.instance); };
        std::sort(extensions_.begin(), extensions_.end(), [&](const Extension& a, const Extension& b) { return order(a) < order(b); });
        for (List& list : lists_) {
            Record& base = t_.records_[list.record];
            const std::uint64_t reference = list.record | std::uint64_t{base.sequence} << 48;
            for (const ListEntry& entry : list.entries) {
                const auto key = std::tuple(static_cast<std::uint32_t>(RecordNumber(entry.record)), entry.type, entry.instance);
                const auto found = std::lower_bound(extensions_.begin(), extensions_.end(), key,
                                                    [&](const Extension& e, const auto& k) { return order(e) < k; });
                if (found == extensions_.end() || order(*found) != key || found->sequence != SequenceOf(entry.record) ||
                    found->base != reference)
                    return false;
                if (entry.type == kData) base.size = found->size;
                if (entry.type == kStandardInformation && (found->attributes & kReparsePointAttribute)) base.flags |= kReparse;
                if (entry.type == kFileName && !found->name->isDosAlias()) addName(*found->name, list.record, found->units);
            }
        }
        return true;
    }

    bool readUpCase() {
        const std::uint64_t size = t_.records_[kUpCase].size;
        std::vector<std::uint8_t> value = upCaseValue_;
        if (size == 0 || size > kUpCaseBytes || size % 2 != 0) return false;
        if (!upCaseRuns_.empty()) {
            value.resize(static_cast<std::size_t>(size));
            if (!SortedAndWhole(upCaseRuns_, true) || !ReadMapped(volume_, upCaseRuns_, boot_.bytesPerCluster, 0, value)) return false;
        }
        if (value.size() != size) return false;
        t_.upcase_ = Utf16FromBytes(value);
        const std::size_t given = t_.upcase_.size();
        t_.upcase_.resize(65536);
        for (std::size_t i = given; i < t_.upcase_.size(); ++i) t_.upcase_[i] = static_cast<char16_t>(i);   // past the table: itself
        return true;
    }

    NtfsTable& t_;
    VolumeBytes& volume_;
    const std::function<void()>& meanwhile_;
    BootSector boot_;
    std::vector<Run> tableRuns_;
    std::uint64_t records_ = 0;
    std::vector<Extension> extensions_;
    std::vector<List> lists_;
    std::vector<std::uint8_t> listValue_;   // of the list being taken
    std::vector<ListEntry> entries_;
    std::uint64_t listBytes_ = 0;      // of the lists not resident
    std::vector<Run> upCaseRuns_;
    std::vector<std::uint8_t> upCaseValue_;
};

std::unique_ptr<NtfsTable> NtfsTable::Read(VolumeBytes& volume, const std::function<void()>& meanwhile, std::size_t chunkBytes) {
    auto table = std::unique_ptr<NtfsTable>(new NtfsTable);
    if (!Reader(*table, volume, meanwhile).read(chunkBytes)) return nullptr;
    return table;
}

int NtfsTable::collate(std::u16string_view a, std::u16string_view b) const {
    for (std::size_t i = 0, n = std::min(a.size(), b.size()); i < n; ++i)
        if (upcase_[a[i]] != upcase_[b[i]]) return upcase_[a[i]] < upcase_[b[i]] ? -1 : 1;
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int exact = a.compare(b);   // names that differ only in case: the exact units decide
    return exact < 0 ? -1 : exact > 0;
}

bool NtfsTable::index(const std::function<void()>& meanwhile) {
    const std::size_t count = records_.size();
    if (count <= kRoot || (records_[kRoot].flags & (kInUse | kFolder | kExtension)) != (kInUse | kFolder)) return false;
    constexpr std::uint32_t kNone = ~0u;
    std::vector<std::uint32_t> parentOf(count, kNone);   // of each folder that is in a folder
    std::vector<std::uint32_t> childCount(count + 1, 0);
    std::vector<bool> kept(names_.size());
    // Each pass over every name or record lets the window answer every 65,536 of them: a million take a while.
    constexpr std::size_t kBetween = 65536;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (i % kBetween == kBetween - 1) meanwhile();
        const Name& name = names_[i];
        if (name.record < kFirstUserRecord) continue;   // metafiles, and the root's own name
        const std::uint64_t parent = RecordNumber(name.parent);
        if (parent >= count) return false;
        const Record& folder = records_[parent];
        // A name whose folder is gone or reused since is left over from a deletion.
        if (!(folder.flags & kInUse) || (folder.flags & kExtension) || folder.sequence != SequenceOf(name.parent)) continue;
        if (!(folder.flags & kFolder)) return false;
        if (parent < kFirstUserRecord && parent != kRoot) continue;   // inside $Extend, which no listing shows
        const std::u16string_view text = textOf(name);
        if (text == u"." || text == u".." || text.find_first_of(std::u16string_view(u"\\/\0", 3)) != std::u16string_view::npos)
            return false;
        if (records_[name.record].flags & kFolder) {
            if (parentOf[name.record] != kNone) return false;   // a folder in two places
            parentOf[name.record] = static_cast<std::uint32_t>(parent);
        }
        kept[i] = true;
        ++childCount[parent];
    }
    // Every folder leads up to the root, or to nothing that is listed; never round in a loop.
    std::vector<std::uint8_t> state(count, 0);   // 1: on the way being followed, 2: known to end
    std::vector<std::uint32_t> way;
    for (std::uint32_t start = 0; start < count; ++start) {
        if (start % kBetween == kBetween - 1) meanwhile();
        for (std::uint32_t at = start; state[at] == 0 && at != kRoot && parentOf[at] != kNone;) {
            state[at] = 1;
            way.push_back(at);
            at = parentOf[at];
            if (state[at] == 1) return false;
        }
        for (std::uint32_t folder : way) state[folder] = 2;
        way.clear();
    }
    first_.assign(count + 1, 0);
    for (std::size_t f = 0; f < count; ++f) first_[f + 1] = first_[f] + childCount[f];
    children_.resize(first_[count]);
    std::vector<std::uint32_t> filled(first_.begin(), first_.end() - 1);
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (kept[i]) children_[filled[RecordNumber(names_[i].parent)]++] = static_cast<std::uint32_t>(i);
    // Each folder in its index's order; two entries of one name in a folder are no index NTFS could hold.
    const auto before = [&](std::uint32_t a, std::uint32_t b) { return collate(textOf(names_[a]), textOf(names_[b])) < 0; };
    std::size_t sortedSince = 0;
    for (std::size_t f = 0; f < count; ++f) {
        const std::span<std::uint32_t> range = children(static_cast<std::uint32_t>(f));
        std::sort(range.begin(), range.end(), before);
        if (std::adjacent_find(range.begin(), range.end(), [&](std::uint32_t a, std::uint32_t b) { return !before(a, b); }) !=
            range.end())
            return false;
        if ((sortedSince += range.size()) >= kBetween) {
            sortedSince = 0;
            meanwhile();
        }
    }
    return true;
}

std::span<std::uint32_t> NtfsTable::children(std::uint32_t folder) {
    return std::span(children_).subspan(first_[folder], first_[folder + 1] - first_[folder]);
}

std::optional<std::uint32_t> NtfsTable::subfolder(std::uint32_t folder, std::u16string_view name) {
    const std::span<std::uint32_t> range = children(folder);
    const auto found = std::lower_bound(range.begin(), range.end(), name,
                                        [&](std::uint32_t a, std::u16string_view n) { return collate(textOf(names_[a]), n) < 0; });
    if (found == range.end() || textOf(names_[*found]) != name || !(records_[names_[*found].record].flags & kFolder))
        return std::nullopt;
    return names_[*found].record;
}

std::optional<std::vector<FolderEntry>> NtfsTable::list(std::string_view path) {
    std::uint32_t folder = kRoot;
    std::size_t depth = 0;
    for (std::size_t start = 0; start < path.size(); ++depth) {
        const std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos || end == start) return std::nullopt;
        const std::string_view name = path.substr(start, end - start);
        if (depth < resolved_.size() && resolved_[depth].first == name) {
            folder = resolved_[depth].second;
        } else {
            resolved_.resize(depth);
            const std::optional<std::uint32_t> sub = subfolder(folder, Utf16FromWtf8(name));
            if (!sub) return std::nullopt;
            folder = *sub;
            resolved_.emplace_back(std::string(name), folder);
        }
        start = end + 1;
    }
    resolved_.resize(depth);
    if (std::find(walked_.begin(), walked_.end(), folder) != walked_.end()) return std::nullopt;
    std::vector<FolderEntry> entries;
    const std::span<std::uint32_t> range = children(folder);
    entries.reserve(range.size());
    for (std::uint32_t i : range) {
        const Name& name = names_[i];
        const Record& file = records_[name.record];
        entries.push_back({Wtf8FromUtf16(textOf(name)), (file.flags & kFolder) != 0, (file.flags & kReparse) != 0, file.size,
                           name.record | std::uint64_t{file.sequence} << 48});
    }
    return entries;
}

}  // namespace cc
