// The Recycle Bin's "$I" records as we write them, read by our reader and by rifiuti-vista (Debian's rifiuti2),
// a reader of the bin written by others.
#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include "formats/RecycleRecord.h"
using namespace cc;

namespace {
std::string Rifiuti(const std::filesystem::path& file) {
    std::string out;
    if (FILE* pipe = popen(("rifiuti-vista '" + file.string() + "' 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}
}  // namespace

TEST(RecycleRecordTest, WrittenRecordsReadBackHereAndInRifiuti) {
    const std::string longPath = "D:\\" + std::string(250, 'x') + "\\长.log";   // rifiuti 0.7 cuts paths at 260
    const struct { RecycleRecord record; size_t length; } cases[] = {
        {{1, 1234, 132000000000000000, "C:\\Users\\测试\\~x.tmp"}, 544},
        {{2, 0, 132000000000000000, "C:\\a.log"}, 28 + 2 * 9},
        {{2, 5ull << 32, 132000000000000000, longPath}, 28 + 2 * (longPath.size() - 1)},   // "长" is 3 bytes, 1 unit; a NUL
    };
    const auto folder = std::filesystem::temp_directory_path() / ("cc-recycle-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    for (const auto& [record, length] : cases) {
        const std::vector<std::uint8_t> bytes = EncodeRecycleRecord(record);
        EXPECT_EQ(bytes.size(), length) << record.path;
        EXPECT_EQ(DecodeRecycleRecord(bytes), record) << record.path;
        const auto file = folder / "$IABC123.log";
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        const std::string line = "$IABC123.log\t2019-04-17 18:40:00\t" + std::to_string(record.size) + "\t" + record.path;
        EXPECT_NE(Rifiuti(file).find(line), std::string::npos) << Rifiuti(file);
    }
    std::filesystem::remove_all(folder);
}

TEST(RecycleRecordTest, WhatNoRecordCanHoldIsRefused) {
    const std::string fits(259, 'x'), tooLong(260, 'x');
    EXPECT_EQ(EncodeRecycleRecord({1, 0, 0, fits}).size(), 544u);
    for (const RecycleRecord& record : {RecycleRecord{1, 0, 0, tooLong}, RecycleRecord{3, 0, 0, "C:\\a"},
                                        RecycleRecord{2, 0, 0, ""}, RecycleRecord{2, 0, 0, std::string("C:\\a\0b", 6)}})
        EXPECT_TRUE(EncodeRecycleRecord(record).empty()) << record.version << record.path;
    std::vector<std::uint8_t> bytes = EncodeRecycleRecord({2, 0, 0, "C:\\a"});
    for (const auto& broken : {std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1),   // cut
                               std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 2)})   // without its NUL
        EXPECT_FALSE(DecodeRecycleRecord(broken));
    bytes.back() = 'x';
    EXPECT_FALSE(DecodeRecycleRecord(bytes));
}
