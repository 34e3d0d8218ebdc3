// The real file system under Wine, in a temporary folder.
#include <gtest/gtest.h>

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
