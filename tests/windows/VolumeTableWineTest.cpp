// Both scans through the file table of an NTFS volume. N: is the image scripts/test-fixtures.sh made with libntfs-3g as
// a raw volume (\\.\N:) and the same tree as a folder (N:\), whose walk is what the walk of the volume gives on Windows.
// Wine lists a folder in another order than NTFS: the results compare as sets (the order is the host tests').
#include <gtest/gtest.h>

#include <algorithm>

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

// The junk results (recommended patterns, N: alone) and the invalid shortcuts (every drive) of N:, sorted; the
// junk results are then deleted, as a click on 删除垃圾 deletes them.
std::vector<std::string> ScanN(Win32Platform& win32, FileSystem& files, bool thenDelete) {
    Platform platform{files, win32.registry, win32.processes, win32.system, win32.resources};
    ControlModel ui;
    Program program(ui, platform);
    ui.click(kLocalOnlyBox), ui.click(kLocalOnlyBox);   // every local disk, then N: alone
    for (int i = 0; i < ui.itemCount(kDriveList); ++i) ui.setItemChecked(kDriveList, i, ui.itemText(kDriveList, i) == "N:\\");
    ui.click("按钮10"), ui.click("按钮1"), ui.click("扫描");
    std::vector<std::string> found;
    for (std::string_view list : {kResultList, kShortcutList})
        for (int i = 0; i < ui.itemCount(list); ++i) ui.itemText(list, i).starts_with("N:\\") ? found.push_back(ui.itemText(list, i)) : void();
    if (thenDelete) ui.click("按钮2");
    return std::sort(found.begin(), found.end()), found;
}

}  // namespace

TEST(VolumeTableOnWine, BothScansReadTheImageThroughItsTableAsTheWalkReadsItsFolder) {
    Win32Platform win32;
    ASSERT_TRUE(dynamic_cast<TableFolders*>(win32.files.driveFolders("N:", [] {}).get())) << "no NTFS image N: (scripts/test-fixtures.sh)";
    for (const char* folderDrive : {"T:", "C:"})   // NTFS to Wine, but no volume to read
        EXPECT_FALSE(dynamic_cast<TableFolders*>(win32.files.driveFolders(folderDrive, [] {}).get())) << folderDrive;
    // The file system moves on from the table: a result deleted since, one replaced by another file of its name.
    ASSERT_TRUE(DeleteFileW(L"N:\\docs\\cache.tmp") && test::MakeFile(L"N:\\docs\\new.log", "replaced"));
    ASSERT_TRUE(MoveFileExW(L"N:\\docs\\new.log", L"N:\\docs\\setup.log", MOVEFILE_REPLACE_EXISTING));
    // broken.lnk, no shortcut in the image, becomes one to a target that is gone where the scans read it.
    const test::Bytes broken = test::Link(0x02, {test::LocalInfo("C:\\gone\\x.exe", "")});
    ASSERT_TRUE(test::MakeFile(L"N:\\broken.lnk", std::string(broken.begin(), broken.end())));
    const std::string volume = test::ReadWholeFile(L"\\\\.\\N:");
    WalkOnly walk;
    const std::vector<std::string> walked = ScanN(win32, walk, false), tabled = ScanN(win32, win32.files, true);
    EXPECT_EQ(tabled, walked);
    EXPECT_GT(tabled.size(), 300u);   // among them N:\broken.lnk, N:\docs\cache-link.tmp, the deep and Unicode names
    // Each deleted by the number it was confirmed with, the replacement too; the volume was only read.
    for (const std::string& path : tabled) EXPECT_EQ(test::Exists(LongPath(path)), path == "N:\\broken.lnk") << path;
    EXPECT_EQ(test::ReadWholeFile(L"\\\\.\\N:"), volume);
    EXPECT_EQ(ScanN(win32, win32.files, false), std::vector<std::string>{"N:\\broken.lnk"});   // the table's stale names are not confirmed
}
