// A volume's file table as any disk may hold it: fixups applied and undone as NTFS writes them give the record back
// (a record that fails them is left as it was); run lists decode to what they encode; the table read a record at a
// time lists exactly what it lists read in large chunks, every folder once, and no name that could change a path.
#include <set>
#include <vector>

#include "FuzzCheck.h"
#include "formats/ntfs/NtfsTable.h"

using namespace cc;

namespace {

// The input is the volume's first bytes, zeros follow; reads count against a budget, so no claimed size runs long.
struct FuzzVolume : VolumeBytes {
    std::span<const std::uint8_t> bytes;
    std::uint64_t budget = 32 << 20;
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (into.size() > budget) return false;
        budget -= into.size();
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
    const std::unique_ptr<NtfsTable> table = NtfsTable::Read(volume, [] {}, chunk);
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
