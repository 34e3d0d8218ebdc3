// Junk moved to the Recycle Bin by its held handle: the "$R" file is the very file listed, its "$I" record names
// where it was (that rifiuti-vista reads such records alike is the host test's), and moving it back by the
// record's path restores it. A file replaced since it was listed stays; so does every file of a drive whose bin
// is a planted link (U:, scripts/test-fixtures.sh).
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "formats/RecycleRecord.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;
using namespace cc::test;

namespace {
std::uint64_t FileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return std::uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}
}  // namespace

TEST(RecycleBinOnWine, MovesExactlyTheListedFileWithARecordThatRestoresIt) {
    TempFolder folder("T:\\");
    const std::map<std::string, std::string> made{{"a.log", "alpha"}, {"无扩展名", "no extension"}, {"swapped.tmp", "listed"}};
    for (const auto& [name, content] : made) ASSERT_TRUE(MakeFile(Widen(folder.path() + name), content));
    Win32FileSystem files;
    std::map<std::string, std::uint64_t> ids;
    for (const FolderEntry& entry : files.listFolder(folder.path(), {})) ids[entry.name] = entry.id;
    ASSERT_TRUE(MakeFile(Widen(folder.path() + "swapped.new"), "planted") &&
                MoveFileExW(Widen(folder.path() + "swapped.new").c_str(), Widen(folder.path() + "swapped.tmp").c_str(), MOVEFILE_REPLACE_EXISTING));
    const std::uint64_t before = FileTimeNow();
    for (const auto& [name, content] : made)
        EXPECT_EQ(files.recycleFile(folder.path() + name, ids[name]), KeepsUserBins() && name != "swapped.tmp") << name;
    files.closeFolders();
    const std::uint64_t after = FileTimeNow();
    EXPECT_EQ(ReadWholeFile(Widen(folder.path() + "swapped.tmp")), "planted");
    if (!KeepsUserBins()) {   // XP: nothing moves, nothing is made
        EXPECT_TRUE(Exists(Widen(folder.path() + "a.log")) && !Exists(L"T:\\$Recycle.Bin"));
        return;
    }
    EXPECT_EQ(GetFileAttributesW(L"T:\\$Recycle.Bin") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const std::wstring bin = L"T:\\$Recycle.Bin\\" + UserSid() + L"\\";
    EXPECT_NE(ReadWholeFile(bin + L"desktop.ini").find("{645FF040-5081-101B-9F08-00AA002F954E}"), std::string::npos);
    std::map<std::string, std::uint64_t> binIds;
    for (const FolderEntry& entry : files.listFolder(Narrow(bin), {})) binIds[entry.name] = entry.id;
    RTL_OSVERSIONINFOW os;
    ASSERT_TRUE(RealWindowsVersion(os));
    int found = 0;
    for (const auto& [name, id] : binIds) {
        const std::optional<RecycleRecord> record = DecodeRecycleRecord(
            [&] { const std::string s = ReadWholeFile(bin + Widen(name)); return std::vector<std::uint8_t>(s.begin(), s.end()); }());
        if (!name.starts_with("$I") || !record || !record->path.starts_with(folder.path())) continue;
        ++found;
        const std::string original = record->path.substr(folder.path().size()), moved = "$R" + name.substr(2);
        EXPECT_EQ(name.size(), 8 + (original == "a.log" ? 4u : 0u)) << name;   // "$I", six letters, the extension
        EXPECT_EQ(binIds[moved], ids[original]) << original;   // the very file, renamed
        EXPECT_EQ(record->size, made.at(original).size());
        EXPECT_EQ(record->version, os.dwMajorVersion >= 10 ? 2u : 1u);   // as this Windows writes them
        EXPECT_TRUE(record->deletedAt >= before && record->deletedAt <= after);
        EXPECT_FALSE(Exists(Widen(record->path)));
        EXPECT_TRUE(MoveFileW((bin + Widen(moved)).c_str(), Widen(record->path).c_str()));   // restored as Explorer restores it
        EXPECT_EQ(ReadWholeFile(Widen(record->path)), made.at(original));
        DeleteFileW((bin + Widen(name)).c_str());
    }
    EXPECT_EQ(found, 2);
    // A bin that is a link (to a privileged folder) is no bin: the file stays, and nothing is made there.
    ASSERT_TRUE(MakeFile(L"U:\\x.log", "stays")) << "run scripts/test-fixtures.sh";
    EXPECT_FALSE(files.recycleFile("U:\\x.log", kNotListed));
    EXPECT_EQ(ReadWholeFile(L"U:\\x.log"), "stays");
    DeleteFileW(L"U:\\x.log");
    bool empty = true;
    ForEachIn(L"C:\\cc-fixtures\\priv-bin\\", [&](const std::wstring&, const WIN32_FIND_DATAW&) { empty = false; });
    EXPECT_TRUE(empty);
}
