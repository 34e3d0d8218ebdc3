// The junk scan over the real file system: the test drive T: of the test prefix, with a hidden system file, a
// link loop, a deep tree, names outside GBK or outside UTF-16, with a trailing dot, a device's name. (A read-only
// file that stays is ExactFilesWineTest's; the disk table's figures, the end-to-end run's.)
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"
#include "app/Program.h"
#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/ControlModel.h"

using namespace cc;
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
    ui.click(kLocalOnlyBox), ui.click(kLocalOnlyBox);   // only T: is searched
    for (int i = 0; i < ui.itemCount(kDriveList); ++i) ui.setItemChecked(kDriveList, i, ui.itemText(kDriveList, i) == "T:\\");
    ui.click("按钮10"), ui.click("按钮1");   // would never end if it followed T:\loop
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
