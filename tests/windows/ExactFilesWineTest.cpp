// Deleting, listing and reading shortcuts hold to what was listed, whoever
// changes the disk in between: a folder swapped for a link to a privileged
// folder, a file replaced, a read-only file, a link and a named pipe planted
// as shortcuts (the links are laid by scripts/test-fixtures.sh).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "TestFiles.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;

TEST(ExactFilesOnWine, OnlyTheListedFileIsDeletedAndNothingIsReachedThroughALink) {
    const std::string set = "T:\\swap\\platform\\", user = set + "cur\\user\\";
    const std::wstring privileged = L"C:\\cc-fixtures\\priv-platform\\";
    const char* names[] = {"a.log", "b.log", "c.log", "d.log", "ro.log"};
    CreateDirectoryW(Widen(set + "cur").c_str(), nullptr), CreateDirectoryW(Widen(user).c_str(), nullptr);
    for (const char* name : names) {
        ASSERT_TRUE(test::MakeFile(Widen(user + name), name)) << "run scripts/test-fixtures.sh";
        ASSERT_TRUE(test::MakePrivilegedTwin(privileged + Widen(name), "privileged"));
    }
    SetFileAttributesW(Widen(user + "ro.log").c_str(), FILE_ATTRIBUTE_READONLY);
    Win32FileSystem files;
    std::map<std::string, std::uint64_t> ids;
    for (const FolderEntry& entry : files.listFolder(user, {})) ids[entry.name] = entry.id;
    ASSERT_EQ(ids.size(), 5u);

    // An ordinary delete; a read-only file stays, and so does one put in the listed one's place.
    EXPECT_TRUE(files.deleteFile(user + "a.log", ids["a.log"]));
    EXPECT_FALSE(test::Exists(Widen(user + "a.log")));
    EXPECT_FALSE(files.deleteFile(user + "ro.log", ids["ro.log"]));
    ASSERT_TRUE(test::MakeFile(Widen(user + "d.new"), "new"));
    ASSERT_TRUE(MoveFileExW(Widen(user + "d.new").c_str(), Widen(user + "d.log").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(files.deleteFile(user + "d.log", ids["d.log"]));
    EXPECT_EQ(test::ReadWholeFile(Widen(user + "d.log")), "new");

    // Swapped between two deletes in the folder: the folder already open is
    // the one that was checked, so only the listed file itself may go. A walk
    // that listed cur and alt before the swap does not enter the new cur.
    Win32FileSystem walk;
    ASSERT_EQ(walk.listFolder(set, {}).size(), 2u);
    ASSERT_TRUE(test::SwapInLink(Widen(set)));
    EXPECT_TRUE(walk.listFolder(set + "cur\\", {}).empty());
    EXPECT_EQ(files.deleteFile(user + "b.log", ids["b.log"]), !test::Exists(Widen(set + "old\\user\\b.log")));
    // Reached afresh, the name leads nowhere, with or without a listed number.
    files.closeFolders();
    EXPECT_FALSE(files.deleteFile(user + "c.log", kNotListed));
    EXPECT_TRUE(files.listFolder(user, {}).empty());
    bool listedAsLink = false;
    for (const FolderEntry& entry : files.listFolder(set + "cur\\", {})) listedAsLink |= entry.name == "user" && entry.reparsePoint;
    EXPECT_TRUE(listedAsLink);
    for (const char* name : names) EXPECT_TRUE(test::IsUntouchedTwin(privileged + Widen(name), "privileged")) << name;
    EXPECT_EQ(test::ReadWholeFile(Widen(set + "old\\user\\c.log")), "c.log");

    // A copy is of exactly the file listed, into a new file only; a link or a pipe is not copied.
    // What a folder object made goes with it unless kept.
    const std::string planted = "T:\\planted\\", copy = planted + "copy\\";
    std::uint64_t copied = 0;
    bool taken = false;
    const auto held = files.holdFolder(planted);
    ASSERT_TRUE(held);
    auto into = held->subfolder("copy", true, taken);
    ASSERT_TRUE(into);
    EXPECT_TRUE(!held->subfolder("copy", true, taken) && taken);
    EXPECT_FALSE(files.holdFolder(set + "old\\user\\d.log"));   // a file of that name
    EXPECT_EQ(into->copyFile(set + "old\\user\\ro.log", "ro.log", copied), Lookup::Found);
    EXPECT_EQ(copied, ids["ro.log"]);
    EXPECT_EQ(test::ReadWholeFile(Widen(copy + "ro.log")), "ro.log");
    EXPECT_EQ(into->copyFile(set + "old\\user\\d.log", "ro.log", copied), Lookup::Failed);   // no overwrite
    EXPECT_EQ(test::ReadWholeFile(Widen(copy + "ro.log")), "ro.log");
    EXPECT_EQ(into->copyFile(set + "old\\user\\gone.log", "gone.log", copied), Lookup::Missing);
    for (const char* name : {"link.lnk", "pipe.lnk"}) {
        EXPECT_EQ(into->copyFile(planted + name, name, copied), Lookup::Failed) << name;
        EXPECT_FALSE(test::Exists(Widen(copy + name))) << name;
    }
    into.reset();
    EXPECT_FALSE(test::Exists(Widen(copy)));

    // Planted as shortcuts, a link and a pipe are neither read nor deleted; the real one is.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(test::SaveShortcut(Widen(planted + "real.lnk"), L"C:\\nowhere\\gone.exe"));
    EXPECT_EQ(files.readShortcut(planted + "real.lnk").kind, ShortcutTarget::Kind::Path);
    for (const char* name : {"link.lnk", "pipe.lnk"}) {
        EXPECT_EQ(files.readShortcut(planted + name).kind, ShortcutTarget::Kind::NotJudged) << name;
        EXPECT_FALSE(files.deleteFile(planted + name, kNotListed)) << name;
    }
    EXPECT_TRUE(test::Exists(Widen(planted + "real.lnk")));
    CoUninitialize();

    files.closeFolders();
    DeleteFileW(Widen(planted + "real.lnk").c_str());
    SetFileAttributesW(Widen(set + "old\\user\\ro.log").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* name : {"b.log", "c.log", "d.log", "ro.log"}) DeleteFileW(Widen(set + "old\\user\\" + name).c_str());
    EXPECT_TRUE(test::SwapBack(Widen(set)));
}
