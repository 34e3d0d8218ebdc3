// The real file system under Wine, in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;
using cc::test::TempFolder;

namespace {

std::span<const std::byte> Bytes(const std::string& s) { return std::as_bytes(std::span(s.data(), s.size())); }

}  // namespace

TEST(Win32FileSystem, WriteReplacesWholeFilesAndLeavesNoStagingFile) {
    TempFolder temp;
    Win32FileSystem files;
    std::string path = temp.path() + "msconfig.exe";
    EXPECT_FALSE(files.fileExists(path));
    ASSERT_TRUE(files.writeFile(path, Bytes(std::string(151552, 'A'))));
    ASSERT_TRUE(files.writeFile(path, Bytes("new")));
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "new");
    EXPECT_FALSE(files.fileExists(path + ".cc-new"));
    EXPECT_FALSE(files.fileExists(temp.path()));   // a folder is not a file
}

TEST(Win32FileSystem, WriteReplacesAReadOnlyFile) {
    TempFolder temp;
    Win32FileSystem files;
    std::string path = temp.path() + "msconfig.exe";
    ASSERT_TRUE(files.writeFile(path, Bytes("old")));
    ASSERT_TRUE(SetFileAttributesW(LongPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(files.writeFile(path, Bytes("new")));
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "new");
    EXPECT_FALSE(files.fileExists(path + ".cc-new"));
}

TEST(Win32FileSystem, AFailedWriteKeepsTheOldFile) {
    TempFolder temp;
    Win32FileSystem files;
    std::string path = temp.path() + "keep.exe";
    ASSERT_TRUE(files.writeFile(path, Bytes("original")));
    // Held open without sharing, the old file cannot be replaced.
    HANDLE held = CreateFileW(LongPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.writeFile(path, Bytes("replacement")));
    CloseHandle(held);
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "original");
    EXPECT_FALSE(files.fileExists(path + ".cc-new"));
    // A folder that does not exist takes no file.
    EXPECT_FALSE(files.writeFile(temp.path() + "missing\\x.dll", Bytes("x")));
}

TEST(Win32FileSystem, DeletesReadOnlyFilesDeepPathsAndNamesOutsideGbk) {
    TempFolder temp;
    Win32FileSystem files;
    // Read-only.
    std::string readOnly = temp.path() + "locked.tmp";
    ASSERT_TRUE(files.writeFile(readOnly, Bytes("x")));
    SetFileAttributesW(LongPath(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(files.deleteFile(readOnly));
    EXPECT_FALSE(files.fileExists(readOnly));
    // A name code page 936 cannot hold (Hangul, an emoji).
    std::string foreign = temp.path() + "\xED\x95\x9C\xEA\xB8\x80 \xF0\x9F\x98\x80.tmp";
    ASSERT_TRUE(test::MakeFile(LongPath(foreign), "x"));
    EXPECT_TRUE(files.fileExists(foreign));
    EXPECT_TRUE(files.deleteFile(foreign));
    EXPECT_FALSE(files.fileExists(foreign));
    // A path well past MAX_PATH.
    std::string deep = temp.path();
    for (int level = 0; level < 12; ++level) {
        deep += std::string(30, static_cast<char>('a' + level)) + "\\";
        ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), nullptr));
    }
    std::string deepFile = deep + "deep.log";
    ASSERT_GT(deepFile.size(), 300u);
    ASSERT_TRUE(files.writeFile(deepFile, Bytes("deep")));
    EXPECT_TRUE(files.fileExists(deepFile));
    EXPECT_TRUE(files.deleteFile(deepFile));
    EXPECT_FALSE(files.fileExists(deepFile));
    EXPECT_FALSE(files.deleteFile(deepFile));
}

namespace {

const FolderEntry* Find(const std::vector<FolderEntry>& entries, const std::string& name) {
    for (const auto& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

}  // namespace

TEST(Win32FileSystem, ListsHiddenSystemAndForeignNamesWithSizesAndMarksReparsePoints) {
    TempFolder temp;
    Win32FileSystem files;
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + "plain.tmp"), std::string(1234, 'x')));
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + "hidden.log"), "h"));
    SetFileAttributesW(LongPath(temp.path() + "hidden.log").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::string foreign = "\xED\x95\x9C\xEA\xB8\x80.tmp";   // Hangul: not in GBK's reach as a file name
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + foreign), "k"));
    ASSERT_TRUE(CreateDirectoryW(LongPath(temp.path() + "sub").c_str(), nullptr));

    auto entries = files.listFolder(temp.path());
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(Find(entries, "."), nullptr);
    EXPECT_EQ(Find(entries, ".."), nullptr);
    ASSERT_NE(Find(entries, "plain.tmp"), nullptr);
    EXPECT_EQ(Find(entries, "plain.tmp")->size, 1234u);
    EXPECT_FALSE(Find(entries, "plain.tmp")->folder);
    ASSERT_NE(Find(entries, "hidden.log"), nullptr);
    ASSERT_NE(Find(entries, foreign), nullptr);
    ASSERT_NE(Find(entries, "sub"), nullptr);
    EXPECT_TRUE(Find(entries, "sub")->folder);
    EXPECT_FALSE(Find(entries, "sub")->reparsePoint);
    EXPECT_TRUE(files.listFolder(temp.path() + "missing\\").empty());

    // A link that leads back up (laid out by scripts/test-fixtures.sh).
    auto inner = files.listFolder("C:\\cc-fixtures\\tree\\inner\\");
    ASSERT_EQ(inner.size(), 1u) << "run scripts/test-fixtures.sh in the test prefix";
    EXPECT_EQ(inner[0].name, "loop");
    EXPECT_TRUE(inner[0].folder);
    EXPECT_TRUE(inner[0].reparsePoint);
}

TEST(Win32FileSystem, DrivesAndTheirSpaceMatchTheSystem) {
    Win32FileSystem files;
    auto all = files.drives(false);
    auto local = files.drives(true);
    DWORD mask = GetLogicalDrives();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.size(), static_cast<size_t>(__builtin_popcount(mask)));
    EXPECT_LE(local.size(), all.size());
    EXPECT_NE(std::find(all.begin(), all.end(), "C:"), all.end());
    EXPECT_NE(std::find(local.begin(), local.end(), "C:"), local.end());
    for (const auto& d : all) {
        ASSERT_EQ(d.size(), 2u);
        EXPECT_EQ(d[1], ':');
        EXPECT_TRUE(mask & (1u << (d[0] - 'A'))) << d;
    }
    auto space = files.driveSpace("C:");
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_LE(space->freeBytes, space->totalBytes);
    EXPECT_FALSE(files.driveSpace("@:").has_value());
}
