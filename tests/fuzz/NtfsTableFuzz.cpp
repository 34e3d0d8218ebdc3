// A volume's file table as any disk may hold it: fixups applied and undone as NTFS writes them give the record back
// (a record that fails them is left as it was); run lists decode to what they encode; the table read a record at a
// time lists exactly what it lists read in large chunks, every folder once, and no name that could change a path;
// it reads no more than a few times the volume's size, and holds no more than some times what it has read.
#include <atomic>
#include <cstdlib>
#include <new>
#include <set>
#include <vector>

#include "FuzzCheck.h"
#include "formats/ntfs/NtfsTable.h"

using namespace cc;

// The heap bytes live, and the most since last reset: every block carries its size in front.
static std::atomic<std::size_t> g_live{0}, g_peak{0};

void* operator new(std::size_t size) {
    auto* block = static_cast<std::max_align_t*>(std::malloc(size + sizeof(std::max_align_t)));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t live = g_live += size;
    for (std::size_t peak = g_peak; live > peak && !g_peak.compare_exchange_weak(peak, live);) {}
    return block + 1;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    auto* block = static_cast<std::max_align_t*>(p) - 1;
    g_live -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
// The sanitizers' runtime brings its own of these, whose blocks the delete above would misread.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try { return operator new(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return operator new(size, std::nothrow); }
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { operator delete(p); }

namespace {

// The input is the volume's first bytes, zeros follow; reads count against a budget, so no claimed size runs long.
struct FuzzVolume : VolumeBytes {
    std::span<const std::uint8_t> bytes;
    std::uint64_t budget = 32 << 20, readBytes = 0;
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (into.size() > budget) return false;
        budget -= into.size();
        readBytes += into.size();
        for (std::size_t i = 0; i < into.size(); ++i) into[i] = offset + i < bytes.size() ? bytes[offset + i] : 0;
        return true;
    }
};

// The update sequence as NTFS writes it: each stride's last two bytes kept in the array, the number in their place.
void UndoFixups(std::vector<std::uint8_t>& record) {
    const std::size_t at = record[4] | record[5] << 8;
    for (std::size_t i = 1; i <= record.size() / 512; ++i) {
        std::copy_n(record.begin() + i * 512 - 2, 2, record.begin() + at + 2 * i);
        std::copy_n(record.begin() + at, 2, record.begin() + i * 512 - 2);
    }
}

// Little-endian bytes of a value, as few as hold it (a signed one keeps its sign bit).
std::vector<std::uint8_t> Bytes(std::uint64_t value, bool isSigned) {
    std::vector<std::uint8_t> out;
    do {
        out.push_back(static_cast<std::uint8_t>(value));
        value = isSigned ? static_cast<std::uint64_t>(static_cast<std::int64_t>(value) >> 8) : value >> 8;
    } while (out.size() < 8 && !(isSigned ? (value == 0 && !(out.back() & 0x80)) || (value == ~0ull && (out.back() & 0x80)) : value == 0));
    return out;
}

std::vector<std::uint8_t> EncodeRuns(const std::vector<ntfs::Run>& runs) {
    std::vector<std::uint8_t> pairs;
    std::int64_t lcn = 0;
    for (const ntfs::Run& run : runs) {
        const std::vector<std::uint8_t> length = Bytes(run.length, false),
                                        offset = run.lcn < 0 ? std::vector<std::uint8_t>{} : Bytes(run.lcn - lcn, true);
        if (run.lcn >= 0) lcn = run.lcn;
        pairs.push_back(static_cast<std::uint8_t>(length.size() | offset.size() << 4));
        pairs.insert(pairs.end(), length.begin(), length.end());
        pairs.insert(pairs.end(), offset.begin(), offset.end());
    }
    pairs.push_back(0);
    return pairs;
}

// Every entry of every folder the walk would enter, from the root; null if there is no table.
std::optional<std::vector<std::string>> Listing(std::span<const std::uint8_t> bytes, std::size_t chunk) {
    FuzzVolume volume;
    volume.bytes = bytes;
    const std::size_t before = g_live;
    g_peak = before;
    const std::unique_ptr<NtfsTable> table = NtfsTable::Read(volume, [] {}, chunk);
    // Every read within the volume's clusters, each at most once but for what the table itself bounds (its
    // extension records, its files' attribute lists); past them only the boot sector, record 0 and the upcase table.
    std::vector<std::uint8_t> sector(512);
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 512), sector.begin());
    const auto boot = ntfs::ReadBootSector(sector);
    const std::uint64_t volumeBytes = boot ? boot->clusters * boot->bytesPerCluster : 0;
    fuzz::Require(volume.readBytes <= 4 * volumeBytes + (256 << 10), "reads bounded by the volume's size");
    // What the reader keeps grows with what it has read: a decoded run takes 24 bytes for as few as 3 of the
    // record's, a vector that grows holds its old and new room at once; the rest is one chunk, list and upcase table.
    fuzz::Require(g_peak - before <= 32 * volume.readBytes + (8 << 20), "memory bounded by what was read");
    if (!table) return std::nullopt;
    std::vector<std::string> all, folders{""};
    std::set<std::uint64_t> entered;
    for (std::size_t next = 0; next < folders.size(); ++next) {
        const auto entries = table->list(folders[next]);
        fuzz::Require(entries.has_value(), "every folder listed has a listing");
        for (const FolderEntry& e : *entries) {
            fuzz::Require(!e.name.empty() && e.name.find('\\') == std::string::npos && e.name != "." && e.name != "..",
                          "names that keep paths whole");
            all.push_back(folders[next] + e.name + "|" + std::to_string(e.size) + "|" + std::to_string(e.id));
            if (e.folder && !e.reparsePoint)
                fuzz::Require(entered.insert(e.id).second, "every folder once"), folders.push_back(folders[next] + e.name + "\\");
        }
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    std::vector<std::uint8_t> record(data, data + size - size % 512);
    const bool applied = ntfs::ApplyFixups(record);
    if (applied) UndoFixups(record);
    fuzz::Require(std::equal(record.begin(), record.end(), data),
                  applied ? "fixups applied and undone give the record back" : "a record failing its fixups is left as it was");
    std::vector<ntfs::Run> runs, again;
    const auto same = [](const ntfs::Run& a, const ntfs::Run& b) { return a.vcn == b.vcn && a.length == b.length && a.lcn == b.lcn; };
    if (ntfs::DecodeRuns(input, 0, ~0ull >> 1, runs))
        fuzz::Require(ntfs::DecodeRuns(EncodeRuns(runs), 0, ~0ull >> 1, again) && std::equal(runs.begin(), runs.end(), again.begin(), again.end(), same),
                      "runs decode to what they encode");
    const auto whole = Listing(input, 1 << 20), recordByRecord = Listing(input, 1);
    fuzz::Require(whole == recordByRecord, "read in chunks or a record at a time, the same table");
    return 0;
}
