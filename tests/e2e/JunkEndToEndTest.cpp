// The junk cleaner in the real window: drives, patterns (with the input box),
// a scan of a prepared tree on the test drive T:, deletion, the disk table.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ModalBoxes.h"
#include "ProgramDriver.h"
#include "platform/win32/Utf.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

extern std::wstring gProgram;
extern std::wstring gScreenshots;

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int FindItem(const ProgramDriver& program, HWND list, const std::wstring& text) {
    for (int i = 0; i < program.listCount(list); ++i)
        if (program.listText(list, i) == text) return i;
    return -1;
}

}  // namespace

TEST(JunkEndToEnd, ScansTheTestDriveAndDeletesWhatIsChecked) {
    const std::wstring root = L"T:\\e2e\\";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"sub").c_str(), nullptr);
    CreateDirectoryW((root + L".cache").c_str(), nullptr);
    ASSERT_TRUE(MakeFile(root + L"a.tmp", "0123456789")) << "no test drive T: (scripts/test-fixtures.sh)";
    ASSERT_TRUE(MakeFile(root + L"sub\\b.log", "0123456789"));
    ASSERT_TRUE(MakeFile(root + L"sub\\keep.bak", "0123456789"));
    ASSERT_TRUE(MakeFile(root + L"x.e2e", "0123456789"));
    ASSERT_TRUE(MakeFile(root + L".cache\\c.tmp", "0123456789"));
    ASSERT_TRUE(MakeFile(root + L"notes.logbook", "0123456789"));

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 3);
    HWND tabs = program.control("高级选择夹3");

    // 磁盘: list the local disks, then keep only T: checked.
    program.clickTab(tabs, 1);
    HWND drives = program.control("选择列表框2");
    EXPECT_EQ(program.listCount(drives), 0);
    HWND localOnly = program.control("选择框1");
    PostMessageW(localOnly, BM_CLICK, 0, 0);
    program.settle();
    PostMessageW(localOnly, BM_CLICK, 0, 0);
    program.settle();
    int t = FindItem(program, drives, L"T:\\");
    ASSERT_GE(t, 0);
    for (int i = 0; i < program.listCount(drives); ++i) {
        EXPECT_TRUE(program.listChecked(drives, i));
        program.setListChecked(drives, i, i == t);
    }
    program.settle();
    program.screenshot(L"junk_drives");

    // 类型: recommend, and add a pattern of our own through the input box.
    program.clickTab(tabs, 2);
    HWND patterns = program.control("选择列表框3");
    program.clickControl(program.control("按钮9"));
    HWND box = WaitForModalBox(program.processId());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ModalBoxCaption(box), L"添加文件类型");
    EXPECT_EQ(ModalBoxText(box), L"添加一个文件类型,如: *.tmp");
    TypeIntoModalBox(box, L"*.e2e");
    AnswerModalBox(box, IDOK);
    program.settle();
    ASSERT_EQ(program.listCount(patterns), 38);
    EXPECT_EQ(program.listText(patterns, 37), L"*.e2e");
    program.clickControl(program.control("按钮10"));
    EXPECT_TRUE(program.listChecked(patterns, 0));    // "*.??$"
    EXPECT_FALSE(program.listChecked(patterns, 1));   // "*.??~"
    EXPECT_FALSE(program.listChecked(patterns, 37));  // added, not recommended
    program.setListChecked(patterns, 37, true);       // a mark set without a click in the list
    program.screenshot(L"junk_patterns");

    // 扫描: an empty list offers a scan; Cancel does nothing.
    program.clickTab(tabs, 0);
    HWND results = program.control("选择列表框1");
    program.clickControl(program.control("按钮2"));
    box = WaitForModalBox(program.processId());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ModalBoxText(box), L"删除项目为空,是否进行扫描?");
    AnswerModalBox(box, IDCANCEL);
    program.settle();
    EXPECT_EQ(program.listCount(results), 0);

    // The scan button starts the scan, whose table matches the marks as they stand.
    HWND scan = program.control("按钮1");
    EXPECT_EQ(program.text(scan), L"扫描垃圾");
    program.clickControl(scan);
    ASSERT_TRUE(program.waitForText(scan, L"扫描"));
    EXPECT_EQ(program.text(program.window()), L"澄川清理专家");
    std::vector<std::wstring> found;
    for (int i = 0; i < program.listCount(results); ++i) {
        found.push_back(program.listText(results, i));
        EXPECT_TRUE(program.listChecked(results, i));
    }
    EXPECT_EQ(found, (std::vector<std::wstring>{root + L"a.tmp", root + L"x.e2e", root + L"sub\\keep.bak",
                                                root + L"sub\\b.log"}));
    EXPECT_EQ(program.text(program.control("标签6")), L"扫描到的文件约有0.039KB");
    program.screenshot(L"junk_scan_results");

    // Keep one, delete the rest.
    int keep = FindItem(program, results, root + L"sub\\keep.bak");
    ASSERT_GE(keep, 0);
    program.setListChecked(results, keep, false);
    program.clickControl(program.control("按钮2"));
    EXPECT_EQ(program.listCount(results), 1);
    EXPECT_EQ(program.listText(results, 0), root + L"sub\\keep.bak");
    EXPECT_EQ(program.text(program.control("标签6")), L"");
    EXPECT_FALSE(Exists(root + L"a.tmp"));
    EXPECT_FALSE(Exists(root + L"x.e2e"));
    EXPECT_FALSE(Exists(root + L"sub\\b.log"));
    EXPECT_TRUE(Exists(root + L"sub\\keep.bak"));
    EXPECT_TRUE(Exists(root + L".cache\\c.tmp"));   // dot-folders are not searched
    EXPECT_TRUE(Exists(root + L"notes.logbook"));   // "*.log" is not "*.log*"
    program.screenshot(L"junk_after_delete");

    // 磁盘信息: one row per drive, T: with its space in whole MB.
    program.clickTab(tabs, 4);
    HWND table = program.control("超级列表框1");
    int row = FindItem(program, table, L"T:\\");
    ASSERT_GE(row, 0);
    ULARGE_INTEGER available{}, total{}, freeBytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"T:\\", &available, &total, &freeBytes));
    std::wstring totalMb = std::to_wstring(total.QuadPart / 1024 / 1024);
    EXPECT_EQ(program.listText(table, row, 1), totalMb);
    long long used = std::stoll(program.listText(table, row, 2));
    long long free = std::stoll(program.listText(table, row, 3));
    EXPECT_EQ(used + free, std::stoll(totalMb));
    program.screenshot(L"junk_disk_table");

    EXPECT_EQ(program.closeAndWait(), 0);
    for (const wchar_t* name : {L".cache\\c.tmp", L"notes.logbook", L"sub\\keep.bak"}) DeleteFileW((root + name).c_str());
}
