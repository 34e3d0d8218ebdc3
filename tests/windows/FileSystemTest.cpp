// The real file system under Wine, in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;

static std::span<const std::byte> Bytes(const std::string& s) { return std::as_bytes(std::span(s.data(), s.size())); }

TEST(Win32FileSystem, WritesReplaceWholeFilesAlsoReadOnlyOnesAndAFailedWriteKeepsTheOld) {
    test::TempFolder temp;
    Win32FileSystem files;
    std::string path = temp.path() + "msconfig.exe";
    ASSERT_TRUE(files.writeFile(path, Bytes(std::string(151552, 'A'))));
    ASSERT_TRUE(SetFileAttributesW(LongPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(files.writeFile(path, Bytes("new")));
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "new");
    // Held open without sharing, the old file cannot be replaced.
    HANDLE held = CreateFileW(LongPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.writeFile(path, Bytes("replacement")));
    CloseHandle(held);
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "new");
    EXPECT_FALSE(files.fileExists(path + ".cc-new"));
    EXPECT_FALSE(files.writeFile(temp.path() + "missing\\x.dll", Bytes("x")));   // no such folder
    EXPECT_FALSE(files.fileExists(temp.path()));                                  // a folder is not a file
}

// Names of every kind are listed, found and deleted by the junk scan's Wine test.
TEST(Win32FileSystem, ListsEveryEntryButDotAndDotDotWithSizesAndMarksFoldersAndReparsePoints) {
    test::TempFolder temp;
    Win32FileSystem files;
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + "hidden.log"), std::string(1234, 'h')));
    SetFileAttributesW(LongPath(temp.path() + "hidden.log").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryW(LongPath(temp.path() + "sub").c_str(), nullptr));
    auto entries = files.listFolder(temp.path());
    ASSERT_EQ(entries.size(), 2u);
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    EXPECT_TRUE(entries[0].name == "hidden.log" && entries[0].size == 1234 && !entries[0].folder);
    EXPECT_TRUE(entries[1].name == "sub" && entries[1].folder && !entries[1].reparsePoint);
    EXPECT_TRUE(files.deleteFile(temp.path() + "hidden.log"));   // read-only too
    EXPECT_FALSE(files.deleteFile(temp.path() + "hidden.log"));
    EXPECT_TRUE(files.listFolder(temp.path() + "missing\\").empty());
    // A link that leads back up (laid out by scripts/test-fixtures.sh).
    auto inner = files.listFolder("C:\\cc-fixtures\\tree\\inner\\");
    ASSERT_EQ(inner.size(), 1u) << "run scripts/test-fixtures.sh in the test prefix";
    EXPECT_TRUE(inner[0].name == "loop" && inner[0].folder && inner[0].reparsePoint);
}
