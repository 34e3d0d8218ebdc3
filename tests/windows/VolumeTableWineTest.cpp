// The scans over the real file system, first both scans through the file table of an NTFS volume. N: is the image
// scripts/test-fixtures.sh made with libntfs-3g as a raw volume (\\.\N:), and as its folder (N:\) either that image
// mounted with ntfs-3g (scripts/ntfs-mounted.sh), one volume read two ways as on Windows, or the same tree as a twin
// folder, whose files have other numbers. Wine lists a folder in another order than NTFS: the results compare as sets
// (the order is the host tests'). Then the junk scan of the test drive T:, walked folder by folder: a hidden system
// file, a link loop, a deep tree, names outside GBK or outside UTF-16, with a trailing dot, a device's name (a
// read-only file that stays is ExactFilesWineTest's; the disk table's figures, the end-to-end run's).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "../host/LinkBytes.h"
#include "TestFiles.h"
#include "app/Program.h"
#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "platform/win32/VolumeTable.h"
#include "platform/win32/Win32Platform.h"
#include "shortcuts/ShortcutScan.h"
#include "tests/support/ControlModel.h"

using namespace cc;

namespace {

struct WalkOnly : Win32FileSystem {   // the program's file system, every drive folder by folder
    std::unique_ptr<DriveFolders> driveFolders(std::string_view drive, const std::function<void()>& meanwhile) override {
        return FileSystem::driveFolders(drive, meanwhile);
    }
};

// The recommended patterns, and every local disk listed, then all but `root` unchecked.
void ChooseOnly(ControlModel& ui, const std::string& root) {
    ui.click(kLocalOnlyBox), ui.click(kLocalOnlyBox);
    for (int i = 0; i < ui.itemCount(kDriveList); ++i) ui.setItemChecked(kDriveList, i, ui.itemText(kDriveList, i) == root);
    ui.click("按钮10");
}

// The junk results (N: alone) and the invalid shortcuts (every drive) of N:, sorted; the junk results are then
// deleted, as a click on 删除垃圾 deletes them, once `meanwhile` has changed the files.
std::vector<std::string> ScanN(Win32Platform& win32, FileSystem& files, const std::function<void()>& meanwhile = nullptr) {
    Platform platform{files, win32.registry, win32.processes, win32.system, win32.resources};
    ControlModel ui;
    Program program(ui, platform);
    ChooseOnly(ui, "N:\\");
    ui.click("按钮1"), ui.click("扫描");
    std::vector<std::string> found;
    for (std::string_view list : {kResultList, kShortcutList})
        for (int i = 0; i < ui.itemCount(list); ++i) ui.itemText(list, i).starts_with("N:\\") ? found.push_back(ui.itemText(list, i)) : void();
    if (meanwhile) meanwhile(), ui.click("按钮2");
    return std::sort(found.begin(), found.end()), found;
}

}  // namespace

TEST(VolumeTableOnWine, ScansReadTheTableAsTheWalkReadsTheFolderAndTheDeletionHoldsToItsNumbers) {
    Win32Platform win32;
    ASSERT_TRUE(dynamic_cast<TableFolders*>(win32.files.driveFolders("N:", [] {}).get())) << "no NTFS image N: (scripts/test-fixtures.sh)";
    for (const char* folderDrive : {"T:", "C:"})   // NTFS to Wine, but no volume to read
        EXPECT_FALSE(dynamic_cast<TableFolders*>(win32.files.driveFolders(folderDrive, [] {}).get())) << folderDrive;
    // Mounted, each file's number as Wine gives it is its record number in the table.
    const std::unique_ptr<NtfsTable> table = ReadDriveTable("N:", [] {});
    ASSERT_TRUE(table);
    const std::vector<FolderEntry> walked = win32.files.listFolder("N:\\docs\\", {}), tabled = *table->list("docs\\");
    ASSERT_EQ(walked.size(), tabled.size());
    bool mounted = true;
    for (const FolderEntry& entry : walked) {
        const auto same = std::find_if(tabled.begin(), tabled.end(), [&](const FolderEntry& e) { return e.name == entry.name; });
        ASSERT_NE(same, tabled.end()) << entry.name;
        mounted = mounted && entry.id == (same->id & 0xFFFFFFFFFFFF);
    }
    std::printf("N: is %s\n", mounted ? "the image mounted with ntfs-3g" : "the image and a twin folder");
    // broken.lnk, no shortcut in the image, becomes one to a target that is gone where the scans read it.
    const test::Bytes broken = test::Link(0x02, {test::LocalInfo("C:\\gone\\x.exe", "")});
    ASSERT_TRUE(test::MakeFile(L"N:\\broken.lnk", std::string(broken.begin(), broken.end())));
    const std::string volume = mounted ? "" : test::ReadWholeFile(L"\\\\.\\N:");
    const std::string cache = test::ReadWholeFile(L"N:\\docs\\cache.tmp"), setup = test::ReadWholeFile(L"N:\\docs\\setup.log");
    WalkOnly walk;
    const std::vector<std::string> walkedResults = ScanN(win32, walk);
    // Between the scan and the deletion, a result is deleted and another replaced by a new file of its name.
    const std::vector<std::string> results = ScanN(win32, win32.files, [] {
        ASSERT_TRUE(DeleteFileW(L"N:\\docs\\cache.tmp") && test::MakeFile(L"N:\\docs\\new.log", "replaced"));
        ASSERT_TRUE(MoveFileExW(L"N:\\docs\\new.log", L"N:\\docs\\setup.log", MOVEFILE_REPLACE_EXISTING));
    });
    EXPECT_EQ(results, walkedResults);
    EXPECT_GT(results.size(), 300u);   // among them N:\broken.lnk, N:\docs\cache-link.tmp, the deep and Unicode names
    // Mounted, exactly the files listed are deleted: not the shortcut, not the file put in a result's place. A twin
    // folder's files have numbers of their own, and none is deleted; the volume is only read.
    for (const std::string& path : results) {
        const bool stays = !mounted || path == "N:\\broken.lnk" || path == "N:\\docs\\setup.log";
        EXPECT_EQ(test::Exists(LongPath(path)), stays && path != "N:\\docs\\cache.tmp") << path;
    }
    if (mounted) EXPECT_EQ(ScanN(win32, win32.files), (std::vector<std::string>{"N:\\broken.lnk", "N:\\docs\\setup.log"}));
    else EXPECT_EQ(test::ReadWholeFile(L"\\\\.\\N:"), volume);
    // The twin folder is put back as the image has it, for the tests that read N: after this one.
    if (!mounted) EXPECT_TRUE(test::MakeFile(L"N:\\docs\\cache.tmp", cache) && test::MakeFile(L"N:\\docs\\setup.log", setup));
}

TEST(JunkScanOnWine, FindsAndDeletesExactlyTheMatchingFilesOfTheTestDrive) {
    Win32Platform win32;
    ControlModel ui;
    Program program(ui, win32.platform);
    const std::string root = "T:\\junk-test\\";
    ASSERT_TRUE(CreateDirectoryW(LongPath(root).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        << "no test drive T: (scripts/test-fixtures.sh)";
    std::string deep = root;   // 500 levels of one letter: Wine's path look-ups slow down with depth
    for (int level = 0; level < 500; ++level, deep += "d\\")
        ASSERT_TRUE(CreateDirectoryW(LongPath(deep + "d").c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    // (path, matched): the look-alike of the unpaired surrogate is a file of its own, left unchecked.
    std::vector<std::pair<std::string, bool>> made{
        {root + "hidden.tmp", true}, {root + "\xED\x95\x9C\xEA\xB8\x80.tmp", true},
        {root + Narrow(L"s\xDC00.tmp"), true}, {root + "s\xEF\xBF\xBD.tmp", true}, {root + "chklist", true},
        {deep + "deep.log", true}, {root + "COM1.tmp", true}, {root + "notes.logbook", false}, {root + "keep.txt", false},
        {root + "dot.tmp.", false}, {root + "\xF0\x9F\x98\x80.txt", false}};
    const std::string lookAlike = made[3].first;
    // Wine 8 cannot store a name that is not valid UTF-16; Windows can.
    if (!test::MakeFile(LongPath(made[2].first), made[2].first)) made.erase(made.begin() + 2);
    for (const auto& [path, matched] : made) ASSERT_TRUE(test::MakeFile(LongPath(path), path)) << path;
    SetFileAttributesW(LongPath(root + "hidden.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ChooseOnly(ui, "T:\\");
    ui.click("按钮1");   // would never end if it followed T:\loop
    std::vector<std::string> found;
    for (int i = 0; i < ui.itemCount(kResultList); ++i) found.push_back(ui.itemText(kResultList, i));
    for (const auto& [path, matched] : made) EXPECT_EQ(std::count(found.begin(), found.end(), path), matched) << path;
    ui.setItemChecked(kResultList, static_cast<int>(std::find(found.begin(), found.end(), lookAlike) - found.begin()), false);
    ui.click("按钮2");
    EXPECT_EQ(ui.itemCount(kResultList), 1);   // the unchecked look-alike
    for (const auto& [path, matched] : made)
        EXPECT_EQ(test::ReadWholeFile(LongPath(path)), !matched || path == lookAlike ? path : "") << path;
    for (const auto& [path, matched] : made) win32.files.deleteFile(path, kNotListed);
    for (; deep.size() > root.size(); deep.resize(deep.find_last_of('\\', deep.size() - 2) + 1))
        RemoveDirectoryW(LongPath(deep).c_str());
}
