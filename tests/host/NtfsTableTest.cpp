// The table reader on an image libntfs-3g made from tests/fixtures/ntfs-tree.sh, against libfsntfs's fsntfsinfo, an
// independent reader: every path below the root (names and parents) in each folder's index order, records and sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

#include "formats/ntfs/NtfsTable.h"
#include "formats/ntfs/NtfsRecords.h"

using namespace cc;

namespace {

struct ImageFile : VolumeBytes {
    std::ifstream file;
    explicit ImageFile(const std::string& path) : file(path, std::ios::binary) {}
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        return file.clear(), file.seekg(std::streamoff(offset)).read(reinterpret_cast<char*>(into.data()), std::streamsize(into.size())).good();
    }
};

// A folder of this run's own: other checkouts' tests may run at the same time.
std::string OwnTempDir(const std::string& name) { return testing::TempDir() + "cc-ntfs-" + name + "-" + std::to_string(getpid()); }

bool OutsideBmp(const std::string& text) { return text.find_first_of("\xF0\xF1\xF2\xF3\xF4") != std::string::npos; }

// "\path|record|size" of every entry, depth first as the folder walk goes, a folder's as "d"; libfsntfs misreads
// names outside the Basic Multilingual Plane, so those are left out on both sides (the Wine tests hold them).
// As ntfsls: "/path|record|size", every name, a folder's size 0.
void Walk(NtfsTable& table, const std::string& path, std::vector<std::string>& lines, bool asNtfsls = false) {
    const auto entries = table.list(path);
    ASSERT_TRUE(entries) << path;
    for (const FolderEntry& e : *entries) {
        std::string shown = path + e.name;
        if (asNtfsls) std::replace(shown.begin(), shown.end(), '\\', '/');
        if (asNtfsls || !OutsideBmp(e.name))
            lines.push_back((asNtfsls ? "/" : "\\") + shown + "|" + std::to_string(e.id & 0xFFFFFFFFFFFF) + "|" +
                            (e.folder && !asNtfsls ? "d" : std::to_string(e.size)));
        if (e.folder && !e.reparsePoint) Walk(table, path + e.name + "\\", lines, asNtfsls);
    }
}

}  // namespace

// Every geometry NTFS has: sectors of 512 to 4,096 bytes (records of 1, 2 and 4 KiB follow them), clusters of 512
// bytes to 64 KiB, against ntfs-3g's ntfsls. It lists a folder's index blocks in their order on disk: compared as sets.
// On mkntfs's own geometry the table, read 64 KiB at a time, is held against libfsntfs's fsntfsinfo too.
TEST(NtfsTable, ListsWhatNtfslsAndLibfsntfsListOnEveryGeometry) {
    for (const std::string geometry : {"-s 512 -c 512", "-s 512 -c 4096", "-s 512 -c 65536", "-s 1024 -c 1024", "-s 1024 -c 16384",
                                       "-s 2048 -c 2048", "-s 2048 -c 65536", "-s 4096 -c 4096", "-s 4096 -c 65536"}) {
        const bool usual = geometry == "-s 512 -c 4096";
        const std::string dir = OwnTempDir("geometry"), image = dir + "/volume.img";
        std::string oracles = " && ntfsls -R -l -i " + image + " >" + dir + "/ls";
        if (usual) oracles += " && fsntfsinfo -H -B " + dir + "/body " + image + " >/dev/null";
        ASSERT_EQ(std::system((CC_SOURCE_DIR "/tests/fixtures/ntfs-tree.sh | " CC_SOURCE_DIR "/scripts/ntfs-image.sh " CC_NTFS_FIXTURE " " +
                               image + " " + dir + "/folder 64M " + geometry + oracles).c_str()), 0);
        std::vector<std::string> theirs, ours, libfsntfs, inOrder;
        std::ifstream ls(dir + "/ls");
        std::string folder;
        for (std::string line; std::getline(ls, line);) {   // "/path:", then "record size month day time year name" each
            std::istringstream in(line);
            std::string record, size, date, name;
            if (line.starts_with("/") && line.ends_with(":")) folder = line.substr(0, line.size() - 1) + (line == "/:" ? "" : "/");
            else if (in >> record >> size >> date >> date >> date >> date && std::getline(in.ignore(1), name) && name != "." && name != "..")
                theirs.push_back(folder + name + "|" + record + "|" + size);
        }
        std::ifstream body(dir + "/body");
        for (std::string line; std::getline(body, line);) {   // 0|\\path|record|mode|uid|gid|size|times
            std::vector<std::string> field(1);
            for (char ch : line) ch == '|' ? (void)field.emplace_back() : field.back().push_back(ch);
            std::string path;
            for (size_t i = 0; i < field[1].size(); i += field[1][i] == '\\' ? 2 : 1) path += field[1][i];
            if (path.starts_with("\\$") || path == "\\" || path.ends_with(" ($FILE_NAME)") || OutsideBmp(path)) continue;
            libfsntfs.push_back(path + "|" + field[2] + "|" + (field[3][0] == 'd' ? "d" : field[6]));
        }
        ImageFile volume(image);
        int between = 0;
        const std::unique_ptr<NtfsTable> table =
            usual ? NtfsTable::Read(volume, [&] { ++between; }, 64 << 10) : NtfsTable::Read(volume, [] {});
        ASSERT_TRUE(table) << geometry;
        Walk(*table, "", ours, true);
        std::sort(ours.begin(), ours.end()), std::sort(theirs.begin(), theirs.end());
        EXPECT_GT(theirs.size(), 3000u) << geometry;
        EXPECT_EQ(ours, theirs) << geometry;
        if (usual) {
            Walk(*table, "", inOrder);
            EXPECT_GT(libfsntfs.size(), 3000u);
            EXPECT_EQ(inOrder, libfsntfs);
            EXPECT_GE(between, 50);   // some 3,200 records of 1 KiB, read 64 KiB at a time
        }
        std::filesystem::remove_all(dir);
    }
}

namespace {

// A small fresh image in memory, its records edited in place: $MFT is one run there, record n at a fixed offset.
struct Image : VolumeBytes {
    std::vector<std::uint8_t> bytes;
    std::uint64_t cluster = 0, table = 0, unreadable = ~0ull;   // a byte no read reaches
    std::uint64_t tornOnce = ~0ull;                             // a byte the first read reaching it finds changed
    Image() {
        static const std::vector<std::uint8_t> fresh = [] {   // made once for the tests of a run, in a folder of the first
            const std::string dir = OwnTempDir(testing::UnitTest::GetInstance()->current_test_info()->name()),
                              image = dir + "/volume.img";
            EXPECT_EQ(std::system(("printf 'file\\ta.txt\\t5\\n' | " CC_SOURCE_DIR "/scripts/ntfs-image.sh " CC_NTFS_FIXTURE " " + image +
                                   " " + dir + "/folder 16M").c_str()), 0);
            std::ifstream file(image, std::ios::binary);
            std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
            std::filesystem::remove_all(dir);
            return bytes;
        }();
        bytes = fresh;
        cluster = u(0x0B, 2) * u(0x0D, 1);
        table = u(0x30, 8) * cluster;
    }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (offset > bytes.size() || into.size() > bytes.size() - offset || (unreadable >= offset && unreadable - offset < into.size()))
            return false;
        std::copy_n(bytes.begin() + std::ptrdiff_t(offset), into.size(), into.begin());
        if (tornOnce >= offset && tornOnce - offset < into.size()) into[tornOnce - offset] ^= 0xFF, tornOnce = ~0ull;
        return true;
    }
    std::uint64_t u(std::uint64_t at, int size) const {
        std::uint64_t v = 0;
        for (int i = size; i-- > 0;) v = v << 8 | bytes[at + i];
        return v;
    }
};

void Put(std::vector<std::uint8_t>& to, std::size_t at, std::uint64_t value, int size) {
    if (to.size() < at + size) to.resize(at + size);
    for (int i = 0; i < size; ++i) to[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
}

std::vector<std::uint8_t> Load(Image& image, std::uint64_t offset) {
    std::vector<std::uint8_t> record(image.bytes.begin() + std::ptrdiff_t(offset), image.bytes.begin() + std::ptrdiff_t(offset + 1024));
    EXPECT_TRUE(ntfs::ApplyFixups(record));
    return record;
}

// Back with its update sequence, as NTFS writes it.
void Store(Image& image, std::uint64_t offset, std::vector<std::uint8_t> record) {
    const std::size_t usa = record[4] | record[5] << 8;
    for (std::size_t i = 1; i <= 2; ++i) {
        std::copy_n(record.begin() + i * 512 - 2, 2, record.begin() + usa + 2 * i);
        std::copy_n(record.begin() + usa, 2, record.begin() + i * 512 - 2);
    }
    std::copy(record.begin(), record.end(), image.bytes.begin() + std::ptrdiff_t(offset));
}

constexpr std::uint32_t kAll = 0, kNone = 1;
// Drops every attribute of type `drop` (or kAll, or kNone) and appends `add` before the end marker.
void Edit(std::vector<std::uint8_t>& record, std::uint32_t drop, const std::vector<std::uint8_t>& add = {}) {
    std::size_t at = record[20] | record[21] << 8;
    std::vector<std::uint8_t> kept(record.begin(), record.begin() + std::ptrdiff_t(at));
    for (std::uint32_t t, length; (t = record[at] | record[at + 1] << 8 | record[at + 2] << 16 | record[at + 3] << 24) != ~0u; at += length) {
        length = record[at + 4] | record[at + 5] << 8 | record[at + 6] << 16;
        if (drop != kAll && t != drop) kept.insert(kept.end(), record.begin() + std::ptrdiff_t(at), record.begin() + std::ptrdiff_t(at + length));
    }
    kept.insert(kept.end(), add.begin(), add.end());
    Put(kept, kept.size(), ~0u, 4), Put(kept, kept.size(), 0, 4);
    ASSERT_LE(kept.size(), record.size());
    Put(kept, 24, kept.size(), 4);
    std::copy(kept.begin(), kept.end(), record.begin());
}

// A non-resident attribute whose runs are (lcn, clusters) pairs from `vcn` on.
std::vector<std::uint8_t> NonResident(std::uint32_t type, std::uint16_t instance, std::uint64_t vcn, std::uint64_t size,
                                      const std::vector<std::pair<std::int64_t, std::uint64_t>>& runs) {
    std::vector<std::uint8_t> a(64);
    std::int64_t lcn = 0;
    std::uint64_t clusters = 0;
    for (const auto& [at, length] : runs) {   // a negative cluster: sparse
        a.push_back(at < 0 ? 0x04 : 0x44), Put(a, a.size(), length, 4);
        if (at >= 0) Put(a, a.size(), static_cast<std::uint64_t>(at - lcn), 4), lcn = at;
        clusters += length;
    }
    a.resize((a.size() + 8) / 8 * 8);
    Put(a, 0, type, 4), Put(a, 4, a.size(), 4), a[8] = 1, Put(a, 14, instance, 2), Put(a, 16, vcn, 8);
    Put(a, 24, vcn + clusters - 1, 8), Put(a, 32, 64, 2), Put(a, 40, size, 8), Put(a, 48, size, 8), Put(a, 56, size, 8);
    return a;
}

std::vector<std::uint8_t> Resident(std::uint32_t type, std::uint16_t instance, const std::vector<std::uint8_t>& value) {
    std::vector<std::uint8_t> a(24);
    a.insert(a.end(), value.begin(), value.end());
    a.resize((a.size() + 7) / 8 * 8);
    Put(a, 0, type, 4), Put(a, 4, a.size(), 4), Put(a, 14, instance, 2), Put(a, 16, value.size(), 4), Put(a, 20, 24, 2);
    return a;
}

// The first attribute of that type in a record, whole.
std::vector<std::uint8_t> Attribute(const std::vector<std::uint8_t>& record, std::uint32_t type) {
    std::size_t at = record[20] | record[21] << 8;
    while ((record[at] | record[at + 1] << 8) != int(type)) at += record[at + 4] | record[at + 5] << 8;
    return {record.begin() + std::ptrdiff_t(at), record.begin() + std::ptrdiff_t(at + (record[at + 4] | record[at + 5] << 8))};
}

// Record 0's data replaced: its own run, then `more`; the table `records` long.
void MapTable(Image& image, std::uint64_t records, const std::vector<std::pair<std::int64_t, std::uint64_t>>& more) {
    std::vector<std::uint8_t> record = Load(image, image.table);
    std::vector<std::pair<std::int64_t, std::uint64_t>> runs{{image.table / image.cluster, 1024 * 76 / image.cluster}};
    runs.insert(runs.end(), more.begin(), more.end());
    Edit(record, 0x80, NonResident(0x80, 1, 0, records * 1024, runs));
    Store(image, image.table, record);
}

}  // namespace

// One fresh image after another, each changed in the one field a consistency check holds: the reader refuses it (the
// walk takes over) and lists no name, or, for a record caught half-written, leaves only that record's folder to the walk.
// A record torn only as the pass reads it is read once more, and nothing is refused.
TEST(NtfsTable, RefusesEveryVolumeThatFailsACheck) {
    constexpr std::uint64_t kFile = 64 * 1024;   // a.txt's record
    // a.txt's name kept in an extension record (65), which a.txt's attribute list names.
    const auto extension = [](Image& image, int baseSequence, int entrySequence, int entryInstance) {
        MapTable(image, 66, {});
        std::vector<std::uint8_t> base = Load(image, image.table + kFile), ext = base, list;
        const std::vector<std::uint8_t> name = Attribute(base, 0x30);
        Edit(ext, kAll, name);
        Put(ext, 16, 1, 2), Put(ext, 22, 1, 2), Put(ext, 32, 64 | (image.u(image.table + kFile + 16, 2) + baseSequence) << 48, 8);
        Put(list, 0, 0x30, 4), Put(list, 4, 32, 2), Put(list, 16, 65 | std::uint64_t(1 + entrySequence) << 48, 8);
        Put(list, 24, (name[14] | name[15] << 8) + entryInstance, 2), Put(list, 31, 0, 1);
        Edit(base, 0x30, Resident(0x20, 9, list));
        Store(image, image.table + 65 * 1024, ext), Store(image, image.table + kFile, base);
    };
    struct Case {
        const char* check;
        std::function<void(Image&, bool)> make;   // valid, or changed
        bool leftToTheWalk = false;                // changed, only the root is walked
        bool readAgain = false;                    // changed, nothing is refused
    };
    const Case cases[] = {
        {"sparse table runs", [](Image& i, bool bad) { MapTable(i, 65, {{bad ? -1 : 3800, 4}}); }},
        {"table runs that overlap", [](Image& i, bool bad) { MapTable(i, 65, {{std::int64_t(bad ? i.table / i.cluster + 2 : 3800), 4}}); }},
        {"a run past the volume's end", [](Image& i, bool bad) {
             MapTable(i, 65, {{std::int64_t(i.u(0x28, 8) * i.u(0x0B, 2) / i.cluster) - (bad ? 3 : 4), 4}});
         }},
        {"an upcase table that cannot be read", [](Image& i, bool bad) {
             const std::vector<std::uint8_t> data = Attribute(Load(i, i.table + 10 * 1024), 0x80);
             const std::size_t pairs = data[32] | data[33] << 8, offsetAt = pairs + 1 + (data[pairs] & 0xF);
             std::uint64_t lcn = 0;
             for (std::size_t b = data[pairs] >> 4; b-- > 0;) lcn = lcn << 8 | data[offsetAt + b];
             if (bad) i.unreadable = lcn * i.cluster + 4096;
         }},
        {"a second attribute list in a record", [](Image& i, bool bad) {
             const std::uint64_t listAt = 3700;   // a free cluster, holding an entry that names a.txt's standard information
             std::vector<std::uint8_t> entry, record = Load(i, i.table + kFile);
             Put(entry, 0, 0x10, 4), Put(entry, 4, 32, 2), Put(entry, 16, 64 | i.u(i.table + kFile + 16, 2) << 48, 8);
             std::copy(entry.begin(), entry.end(), i.bytes.begin() + std::ptrdiff_t(listAt * i.cluster));
             Edit(record, 0x20, NonResident(0x20, 20, 0, 32, {{listAt, 1}}));
             if (bad) Edit(record, kNone, NonResident(0x20, 21, 0, 32, {{listAt, 1}}));
             Store(i, i.table + kFile, record);
         }},
        {"two equal names in a folder", [](Image& i, bool bad) {
             std::vector<std::uint8_t> record = Load(i, i.table + kFile), name = Attribute(record, 0x30);
             Put(name, 14, 9, 2);
             if (!bad) name[(name[20] | name[21] << 8) + 66] = 'b';   // b.txt, a second name
             Edit(record, kNone, name), Store(i, i.table + kFile, record);
         }},
        {"an extension record of another base", [&](Image& i, bool bad) { extension(i, bad, 0, 0); }},
        {"an extension record of another use", [&](Image& i, bool bad) { extension(i, 0, bad, 0); }},
        {"an attribute the extension record lacks", [&](Image& i, bool bad) { extension(i, 0, 0, bad); }},
        {"a record of two strides that claims one", [](Image& i, bool bad) { i.bytes[i.table + kFile + 6] = bad ? 2 : 3; }},
        {"a record torn in its first stride", [](Image& i, bool bad) { i.bytes[i.table + kFile + 510] ^= bad; }},
        {"a record torn after its names", [](Image& i, bool bad) { i.bytes[i.table + kFile + 1022] ^= bad; }, true},
        {"a record torn as it is read", [](Image& i, bool bad) { i.tornOnce = bad ? i.table + kFile + 1022 : ~0ull; }, false, true},
    };
    for (const Case& c : cases)
        for (bool bad : {false, true}) {
            Image image;
            c.make(image, bad);
            const std::unique_ptr<NtfsTable> table = NtfsTable::Read(image, [] {});
            const auto root = table ? table->list("") : std::nullopt;
            EXPECT_EQ(table != nullptr, !bad || c.leftToTheWalk || c.readAgain) << c.check << bad;
            EXPECT_EQ(root && !root->empty() && root->front().name == "a.txt", !bad || c.readAgain) << c.check << bad;
        }
}

// Tens of thousands of extents, each named by the table's attribute list and checked as it comes: some seconds
// at most, where sorting every run again after each took minutes. They all map one cluster, so the table is refused.
TEST(NtfsTable, ChecksAListOfManyTableExtentsInLinearTime) {
    Image image;
    constexpr std::uint64_t kExtents = 30000, kPerRecord = 12, kRecords = kExtents / kPerRecord, kExtensionsAt = 2600, kListAt = 3300;
    const std::uint64_t recordsAt = kExtensionsAt * image.cluster, sequence = image.u(image.table + 16, 2);
    std::vector<std::uint8_t> blank = Load(image, image.table), list;
    Edit(blank, kAll);
    Put(blank, 32, sequence << 48, 8);   // an extension of record 0
    const std::uint64_t firstVcn = 76 * 1024 / image.cluster + kRecords * 1024 / image.cluster;
    for (std::uint64_t r = 0; r < kRecords; ++r) {
        std::vector<std::uint8_t> record = blank;
        for (std::uint16_t i = 0; i < kPerRecord; ++i) {
            const std::uint64_t n = r * kPerRecord + i;
            Edit(record, kNone, NonResident(0x80, i, firstVcn + n, 0, {{3600, 1}}));
            const std::size_t e = list.size();
            Put(list, e, 0x80, 4), Put(list, e + 4, 32, 2), Put(list, e + 8, firstVcn + n, 8);
            Put(list, e + 16, (76 + r) | std::uint64_t{1} << 48, 8), Put(list, e + 24, i, 2), Put(list, e + 31, 0, 1);
        }
        Put(record, 16, 1, 2);
        Store(image, recordsAt + r * 1024, record);
    }
    std::copy(list.begin(), list.end(), image.bytes.begin() + std::ptrdiff_t(kListAt * image.cluster));
    MapTable(image, 76 + kRecords, {{kExtensionsAt, kRecords * 1024 / image.cluster}});
    std::vector<std::uint8_t> zero = Load(image, image.table);
    Edit(zero, 0x20, NonResident(0x20, 9, 0, list.size(), {{kListAt, (list.size() + image.cluster - 1) / image.cluster}}));
    Store(image, image.table, zero);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(NtfsTable::Read(image, [] {}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}
