// The real file system under Wine, in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;

namespace {

std::span<const std::byte> Bytes(const std::string& s) { return std::as_bytes(std::span(s.data(), s.size())); }

}  // namespace

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

TEST(Win32FileSystem, ListsAndDeletesExactlyTheNamedFileWhateverItsNameOrDepth) {
    test::TempFolder temp;
    Win32FileSystem files;
    std::string deep = temp.path();
    for (int level = 0; level < 12; ++level) {
        deep += std::string(30, static_cast<char>('a' + level)) + "\\";
        ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), nullptr));
    }
    // Hangul and an emoji (outside GBK), an unpaired surrogate beside its U+FFFD
    // look-alike, a trailing dot, a device name, past MAX_PATH.
    const std::wstring surrogate = L"x\xD800.tmp";
    std::vector<std::string> names{"\xED\x95\x9C\xEA\xB8\x80 \xF0\x9F\x98\x80.tmp", Narrow(surrogate),
                                         "x\xEF\xBF\xBD.tmp", "dot.tmp.", "COM1.tmp", deep.substr(temp.path().size()) + "deep.log"};
    ASSERT_EQ(Widen(names[1]), surrogate);
    // Wine 8 cannot store a name that is not valid UTF-16; Windows can.
    if (!test::MakeFile(LongPath(temp.path() + names[1]), names[1])) names.erase(names.begin() + 1);
    for (const auto& name : names) ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + name), name)) << name;
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + "hidden.log"), std::string(1234, 'h')));
    SetFileAttributesW(LongPath(temp.path() + "hidden.log").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);

    auto entries = files.listFolder(temp.path());
    auto find = [&](const std::string& name) {
        auto it = std::find_if(entries.begin(), entries.end(), [&](const FolderEntry& e) { return e.name == name; });
        return it == entries.end() ? nullptr : &*it;
    };
    EXPECT_EQ(entries.size(), names.size() + 1);   // the files, hidden.log and the folder; no "." or ".."
    for (size_t n = 0; n + 1 < names.size(); ++n) EXPECT_NE(find(names[n]), nullptr) << names[n];
    ASSERT_NE(find("hidden.log"), nullptr);
    EXPECT_EQ(find("hidden.log")->size, 1234u);
    ASSERT_NE(find("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"), nullptr);
    EXPECT_TRUE(find("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa")->folder && !find("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa")->reparsePoint);
    for (const auto& name : names) {
        EXPECT_EQ(test::ReadWholeFile(LongPath(temp.path() + name)), name) << name;   // each name is its own file
        EXPECT_TRUE(files.deleteFile(temp.path() + name)) << name;
        EXPECT_FALSE(files.fileExists(temp.path() + name)) << name;
    }
    EXPECT_TRUE(files.deleteFile(temp.path() + "hidden.log"));   // read-only too
    EXPECT_FALSE(files.deleteFile(temp.path() + "hidden.log"));
    EXPECT_TRUE(files.listFolder(temp.path() + "missing\\").empty());

    // A link that leads back up (laid out by scripts/test-fixtures.sh).
    auto inner = files.listFolder("C:\\cc-fixtures\\tree\\inner\\");
    ASSERT_EQ(inner.size(), 1u) << "run scripts/test-fixtures.sh in the test prefix";
    EXPECT_TRUE(inner[0].name == "loop" && inner[0].folder && inner[0].reparsePoint);
}

TEST(Win32FileSystem, DrivesAndTheirSpaceMatchTheSystem) {
    Win32FileSystem files;
    auto all = files.drives(false);
    auto local = files.drives(true);
    DWORD mask = GetLogicalDrives();
    EXPECT_EQ(all.size(), static_cast<size_t>(__builtin_popcount(mask)));
    EXPECT_LE(local.size(), all.size());
    EXPECT_NE(std::find(local.begin(), local.end(), "C:"), local.end());
    for (const auto& d : all) EXPECT_TRUE(d.size() == 2 && d[1] == ':' && (mask & (1u << (d[0] - 'A')))) << d;
    auto space = files.driveSpace("C:");
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_FALSE(files.driveSpace("@:").has_value());
}
