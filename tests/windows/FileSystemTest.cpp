// The real file system under Wine, in a temporary folder (its listing: OldWaysWineTest.cpp).
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;

static std::span<const std::byte> Bytes(const std::string& s) { return std::as_bytes(std::span(s.data(), s.size())); }

TEST(Win32FileSystem, WritesReplaceWholeFilesAlsoReadOnlyOnesAndAFailedWriteKeepsTheOld) {
    test::TempFolder temp;
    Win32FileSystem files;
    const auto folder = files.holdFolder(temp.path());
    ASSERT_TRUE(folder);
    std::string path = temp.path() + "msconfig.exe";
    ASSERT_TRUE(test::MakeFile(LongPath(path + ".cc-new"), "left from an earlier run"));
    ASSERT_TRUE(folder->replaceFile("msconfig.exe", Bytes(std::string(151552, 'A'))));
    ASSERT_TRUE(SetFileAttributesW(LongPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(folder->replaceFile("msconfig.exe", Bytes("new")));
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "new");
    // Held open without sharing, the old file cannot be replaced.
    HANDLE held = CreateFileW(LongPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(folder->replaceFile("msconfig.exe", Bytes("replacement")));
    CloseHandle(held);
    EXPECT_EQ(test::ReadWholeFile(LongPath(path)), "new");
    EXPECT_FALSE(files.fileExists(path + ".cc-new"));
    ASSERT_TRUE(SetFileAttributesW(LongPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files.deleteFile(path, kNotListed));   // read-only: it stays
    ASSERT_TRUE(SetFileAttributesW(LongPath(path).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(files.deleteFile(path, kNotListed));
    EXPECT_FALSE(files.deleteFile(path, kNotListed));
    EXPECT_FALSE(files.holdFolder(temp.path() + "missing\\"));   // no such folder
    EXPECT_FALSE(files.fileExists(temp.path()));                                  // a folder is not a file
}
