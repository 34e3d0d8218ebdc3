// The table reader on an image libntfs-3g made from tests/fixtures/ntfs-tree.sh, against libfsntfs's fsntfsinfo, an
// independent reader: every path below the root (names and parents) in each folder's index order, records and sizes.
#include <gtest/gtest.h>

#include <fstream>

#include "formats/ntfs/NtfsTable.h"

using namespace cc;

namespace {

struct ImageFile : VolumeBytes {
    std::ifstream file;
    explicit ImageFile(const std::string& path) : file(path, std::ios::binary) {}
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        return file.clear(), file.seekg(std::streamoff(offset)).read(reinterpret_cast<char*>(into.data()), std::streamsize(into.size())).good();
    }
};

bool OutsideBmp(const std::string& text) { return text.find_first_of("\xF0\xF1\xF2\xF3\xF4") != std::string::npos; }

// "\path|record|size" of every entry, depth first as the folder walk goes, a folder's as "d"; libfsntfs misreads
// names outside the Basic Multilingual Plane, so those are left out on both sides (the Wine tests hold them).
void Walk(NtfsTable& table, const std::string& path, std::vector<std::string>& lines) {
    const auto entries = table.list(path);
    ASSERT_TRUE(entries) << path;
    for (const FolderEntry& e : *entries) {
        if (!OutsideBmp(e.name))
            lines.push_back("\\" + path + e.name + "|" + std::to_string(e.id & 0xFFFFFFFFFFFF) + "|" + (e.folder ? "d" : std::to_string(e.size)));
        if (e.folder && !e.reparsePoint) Walk(table, path + e.name + "\\", lines);
    }
}

}  // namespace

TEST(NtfsTable, ListsWhatLibfsntfsListsInIndexOrder) {
    const std::string dir = testing::TempDir() + "cc-ntfs-table", image = dir + "/volume.img";
    ASSERT_EQ(std::system((CC_SOURCE_DIR "/tests/fixtures/ntfs-tree.sh | " CC_SOURCE_DIR "/scripts/ntfs-image.sh " CC_NTFS_FIXTURE " " +
                           image + " " + dir + "/folder 64M && fsntfsinfo -H -B " + dir + "/body " + image + " >/dev/null").c_str()), 0);
    std::vector<std::string> theirs, ours;
    std::ifstream body(dir + "/body");
    for (std::string line; std::getline(body, line);) {   // 0|\\path|record|mode|uid|gid|size|times
        std::vector<std::string> field(1);
        for (char ch : line) ch == '|' ? (void)field.emplace_back() : field.back().push_back(ch);
        std::string path;
        for (size_t i = 0; i < field[1].size(); i += field[1][i] == '\\' ? 2 : 1) path += field[1][i];
        if (path.starts_with("\\$") || path == "\\" || path.ends_with(" ($FILE_NAME)") || OutsideBmp(path)) continue;
        theirs.push_back(path + "|" + field[2] + "|" + (field[3][0] == 'd' ? "d" : field[6]));
    }
    ImageFile volume(image);
    int between = 0;
    const std::unique_ptr<NtfsTable> table = NtfsTable::Read(volume, [&] { ++between; }, 64 << 10);
    ASSERT_TRUE(table);
    Walk(*table, "", ours);
    EXPECT_GT(theirs.size(), 3000u);
    EXPECT_EQ(ours, theirs);
    EXPECT_GE(between, 50);   // some 3,200 records of 1 KiB, read 64 KiB at a time
}
