// The junk scan over the real file system: the test drive T: of the test
// prefix, with hidden and system files, a link loop, a path past MAX_PATH, a
// name outside GBK and a read-only file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "app/Program.h"
#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "junk/PatternList.h"
#include "platform/win32/Win32Platform.h"
#include "ui/ControlModel.h"

using namespace cc;

namespace {

std::vector<std::string> Results(ControlModel& ui) {
    std::vector<std::string> items;
    for (int i = 0; i < ui.itemCount(kResultList); ++i) items.push_back(ui.itemText(kResultList, i));
    return items;
}

}  // namespace

TEST(JunkScanOnWine, FindsAndDeletesExactlyTheMatchingFilesOfTheTestDrive) {
    Win32Platform win32;
    ControlModel ui;
    Program program(ui, win32.platform);

    const std::string root = "T:\\junk-test\\";
    ASSERT_TRUE(CreateDirectoryW(LongPath(root).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        << "no test drive T: (scripts/test-fixtures.sh)";
    std::string deep = root;
    for (int level = 0; level < 10; ++level) {
        deep += std::string(30, static_cast<char>('a' + level)) + "\\";
        CreateDirectoryW(LongPath(deep).c_str(), nullptr);
    }
    const std::string foreign = root + "\xED\x95\x9C\xEA\xB8\x80.tmp";
    const std::vector<std::pair<std::string, std::string>> made{
        {root + "hidden.tmp", "hidden and system"},
        {root + "notes.logbook", "an 8.3 alias would end in .LOG"},
        {root + "keep.txt", "keep"},
        {root + "readonly.bak", "read-only"},
        {foreign, "a name outside GBK"},
        {deep + "deep.log", "past MAX_PATH"},
    };
    for (const auto& [path, content] : made) ASSERT_TRUE(test::MakeFile(LongPath(path), content)) << path;
    SetFileAttributesW(LongPath(root + "hidden.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(LongPath(root + "readonly.bak").c_str(), FILE_ATTRIBUTE_READONLY);

    // Only T: is searched.
    ui.click(kLocalOnlyBox);
    ui.click(kLocalOnlyBox);
    for (int i = 0; i < ui.itemCount(kDriveList); ++i) ui.setItemChecked(kDriveList, i, ui.itemText(kDriveList, i) == "T:\\");
    ui.click("按钮10");
    ui.click("按钮1");   // would never end if it followed T:\loop

    std::vector<std::string> found = Results(ui);
    auto has = [&](const std::string& path) { return std::find(found.begin(), found.end(), path) != found.end(); };
    EXPECT_TRUE(has(root + "hidden.tmp"));
    EXPECT_TRUE(has(root + "readonly.bak"));
    EXPECT_TRUE(has(foreign));
    EXPECT_TRUE(has(deep + "deep.log"));
    EXPECT_FALSE(has(root + "notes.logbook"));
    EXPECT_FALSE(has(root + "keep.txt"));
    for (const auto& path : found) EXPECT_EQ(path.rfind("T:\\", 0), 0u) << path;
    EXPECT_EQ(ui.windowTitle(), "澄川清理专家");

    ui.click("按钮2");
    EXPECT_EQ(ui.itemCount(kResultList), 0);
    for (const auto& [path, content] : made) {
        bool kept = path == root + "notes.logbook" || path == root + "keep.txt";
        EXPECT_EQ(win32.files.fileExists(path), kept) << path;
    }
    // The space table now holds T: with real figures.
    bool tableHasT = false;
    for (int r = 0; r < ui.rowCount(kDiskTable); ++r) {
        auto row = ui.row(kDiskTable, r);
        if (row[0] == "T:\\") tableHasT = !row[1].empty() && std::stoull(row[1]) >= std::stoull(row[3]);
    }
    EXPECT_TRUE(tableHasT);
    for (const auto& [path, content] : made) win32.files.deleteFile(path);
}
