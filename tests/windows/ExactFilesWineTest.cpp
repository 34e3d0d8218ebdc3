// Deleting, listing, reading and writing files hold to what was listed or held, whoever changes the disk in between: a
// folder swapped for a link to a privileged folder, a file replaced, a read-only file, a link and a named pipe planted as
// shortcuts (the links are laid by scripts/test-fixtures.sh), a file held open without sharing; the utility copy carried.
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Resources.h"
#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"

using namespace cc;
using namespace cc::test;

static std::span<const std::byte> Bytes(const std::string& s) { return std::as_bytes(std::span(s.data(), s.size())); }
TEST(ExactFilesOnWine, OnlyTheListedFileIsDeletedAndNothingIsReachedThroughALink) {
    const std::string set = "T:\\swap\\platform\\", user = set + "cur\\user\\", old = set + "old\\user\\";
    const std::wstring privileged = L"C:\\cc-fixtures\\priv-platform\\";
    const char* names[] = {"a.log", "b.log", "c.log", "d.log", "ro.log"};
    CreateDirectoryW(Widen(set + "cur").c_str(), nullptr), CreateDirectoryW(Widen(user).c_str(), nullptr);
    for (const char* name : names) {
        ASSERT_TRUE(MakeFile(Widen(user + name), name)) << "run scripts/test-fixtures.sh";
        ASSERT_TRUE(MakePrivilegedTwin(privileged + Widen(name), "privileged"));
    }
    SetFileAttributesW(Widen(user + "ro.log").c_str(), FILE_ATTRIBUTE_READONLY);
    Win32FileSystem files;
    std::map<std::string, std::uint64_t> ids;
    for (const FolderEntry& entry : files.listFolder(user, {})) ids[entry.name] = entry.id;
    ASSERT_EQ(ids.size(), 5u);
    // An ordinary delete, once; a read-only file stays, and so does one put in the listed one's place.
    EXPECT_TRUE(files.deleteFile(user + "a.log", ids["a.log"]));
    EXPECT_FALSE(Exists(Widen(user + "a.log")));
    EXPECT_FALSE(files.deleteFile(user + "a.log", ids["a.log"]));
    EXPECT_FALSE(files.deleteFile(user + "ro.log", ids["ro.log"]));
    ASSERT_TRUE(MakeFile(Widen(user + "d.new"), "new"));
    ASSERT_TRUE(MoveFileExW(Widen(user + "d.new").c_str(), Widen(user + "d.log").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(files.deleteFile(user + "d.log", ids["d.log"]));
    EXPECT_EQ(ReadWholeFile(Widen(user + "d.log")), "new");
    // Swapped between two deletes in the folder: the folder already open is the one that was checked, so only
    // the listed file itself may go. A walk that listed cur and alt before the swap does not enter the new cur.
    Win32FileSystem walk;
    ASSERT_EQ(walk.listFolder(set, {}).size(), 2u);
    ASSERT_TRUE(SwapInLink(Widen(set)));
    EXPECT_TRUE(walk.listFolder(set + "cur\\", {}).empty());
    EXPECT_EQ(files.deleteFile(user + "b.log", ids["b.log"]), !Exists(Widen(old + "b.log")));
    // Reached afresh, the name leads nowhere, with or without a listed number.
    files.closeFolders();
    EXPECT_FALSE(files.deleteFile(user + "c.log", kNotListed));
    EXPECT_TRUE(files.listFolder(user, {}).empty());
    for (const char* name : names) EXPECT_TRUE(IsUntouchedTwin(privileged + Widen(name), "privileged")) << name;
    EXPECT_EQ(ReadWholeFile(Widen(old + "c.log")), "c.log");
    // A copy is of exactly the file listed, into a new file only; a link or a pipe is not copied.
    // What a folder object made goes with it unless kept.
    const std::string planted = "T:\\planted\\", copy = planted + "copy\\", page = planted + "msconfig.exe";
    std::uint64_t copied = 0;
    bool taken = false;
    const auto held = files.holdFolder(planted);
    ASSERT_TRUE(held);
    auto into = held->subfolder("copy", taken);
    ASSERT_TRUE(into);
    EXPECT_TRUE(!held->subfolder("copy", taken) && taken);
    EXPECT_FALSE(files.holdFolder(old + "d.log"));   // a file of that name
    EXPECT_FALSE(files.holdFolder(planted + "missing\\"));
    EXPECT_EQ(files.findFile(planted), Lookup::Missing);   // a folder is not a file
    EXPECT_EQ(into->copyFile(old + "ro.log", "ro.log", copied), Lookup::Found);
    EXPECT_EQ(copied, ids["ro.log"]);
    EXPECT_EQ(into->copyFile(old + "d.log", "ro.log", copied), Lookup::Failed);   // no overwrite
    EXPECT_EQ(ReadWholeFile(Widen(copy + "ro.log")), "ro.log");
    EXPECT_EQ(into->copyFile(old + "gone.log", "gone.log", copied), Lookup::Missing);
    for (const char* name : {"link.lnk", "pipe.lnk"}) {   // planted as shortcuts: neither copied, read nor deleted
        EXPECT_EQ(into->copyFile(planted + name, name, copied), Lookup::Failed) << name;
        EXPECT_FALSE(Exists(Widen(copy + name))) << name;
        EXPECT_EQ(files.readShortcut(planted + name).kind, ShortcutTarget::Kind::NotJudged) << name;
        EXPECT_FALSE(files.deleteFile(planted + name, kNotListed)) << name;
    }
    into.reset();
    EXPECT_FALSE(Exists(Widen(copy)));
    // A write replaces the whole file, a read-only one too, a staging file left from an earlier run first; held open
    // without sharing, the old file stays as it was. The first write is the utility copy the tests carry, whole.
    std::string standIn;   // as cmake/Msconfig.cmake makes it
    while (standIn.size() < kMsconfigBytes) standIn += "msconfig-standin";
    ASSERT_TRUE(MakeFile(Widen(page + ".cc-new"), "left from an earlier run"));
    ASSERT_TRUE(held->replaceFile("msconfig.exe", Win32Resources().block(IDR_MSCONFIG)));
    EXPECT_EQ(ReadWholeFile(Widen(page)), standIn);
    EXPECT_TRUE(Win32Resources().block(4242).empty());   // no block the build did not put in
    ASSERT_TRUE(SetFileAttributesW(Widen(page).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(held->replaceFile("msconfig.exe", Bytes("new")));
    UniqueHfile open(CreateFileW(Widen(page).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(held->replaceFile("msconfig.exe", Bytes("replacement")));
    open.reset();
    EXPECT_EQ(ReadWholeFile(Widen(page)), "new");
    EXPECT_EQ(files.findFile(page + ".cc-new"), Lookup::Missing);
    files.closeFolders();
    EXPECT_TRUE(files.deleteFile(page, kNotListed));
    SetFileAttributesW(Widen(old + "ro.log").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* name : {"b.log", "c.log", "d.log", "ro.log"}) DeleteFileW(Widen(old + name).c_str());
    EXPECT_TRUE(SwapBack(Widen(set)));
}

// A whole path as long as a counted string holds is asked for (and is not there); one longer is refused unasked.
TEST(ExactFilesOnWine, APathAsLongAsACountedStringHoldsIsAskedFor) {
    for (std::size_t length : {32767u, 32768u}) {
        NTSTATUS status = 0;
        EXPECT_FALSE(OpenNt(nullptr, L"\\??\\C:\\" + std::wstring(length - 7, L'x'), OpenFor::Listing, status));
        EXPECT_EQ(status == static_cast<NTSTATUS>(0xC000000D), length > 32767) << length << ": " << std::hex << status;   // invalid parameter
    }
}
