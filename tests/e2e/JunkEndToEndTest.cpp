// The junk cleaner in the real window, worked with real clicks on every box:
// drives, patterns (one added through the input box), a scan of a prepared
// tree with thousands of results on the test drive T:, their deletion.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "ProgramDriver.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

TEST(JunkEndToEnd, ScansThousandsOfFilesAndDeletesWhatIsChecked) {
    const std::wstring root = L"T:\\e2e\\";
    constexpr int kMany = 3000;
    for (const wchar_t* folder : {L"", L"sub", L".cache", L"many"}) CreateDirectoryW((root + folder).c_str(), nullptr);
    for (const wchar_t* name : {L"a.tmp", L"sub\\b.log", L"sub\\keep.bak", L"x.e2e", L".cache\\c.tmp", L"notes.logbook"})
        ASSERT_TRUE(MakeFile(root + name, "0123456789")) << "no test drive T: (scripts/test-fixtures.sh)";
    for (int i = 0; i < kMany; ++i) ASSERT_TRUE(MakeFile(root + L"many\\" + std::to_wstring(i) + L".tmp", "0123456789"));
    // A file of a standard user's, whose folder they swap for a link to a privileged folder once it is listed.
    const std::wstring swap = L"T:\\swap\\junk\\", twin = L"C:\\cc-fixtures\\priv-junk\\a.tmp";
    CreateDirectoryW((swap + L"cur").c_str(), nullptr), CreateDirectoryW((swap + L"cur\\user").c_str(), nullptr);
    ASSERT_TRUE(MakeFile(swap + L"cur\\user\\a.tmp", "0123456789") && MakePrivilegedTwin(twin, "privileged"));

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 3);
    HWND tabs = program.control("高级选择夹3");

    // 磁盘: all drives, every one listed checked; then only T: by clicks on the boxes.
    program.clickTab(tabs, 1);
    HWND drives = program.control("选择列表框2");
    const RECT localOnly = ScreenRect(program.control("选择框1"));
    ProgramDriver::mouseAt({localOnly.left + 6, (localOnly.top + localOnly.bottom) / 2}, 1);
    program.settle();
    ASSERT_GE(program.findItem(drives, L"T:\\"), 0);
    for (int i = 0; i < program.listCount(drives); ++i) {
        EXPECT_TRUE(program.listChecked(drives, i));
        if (program.listText(drives, i) != L"T:\\") program.clickCheckBox(drives, i);
        EXPECT_EQ(program.listChecked(drives, i), program.listText(drives, i) == L"T:\\");
    }

    // 类型: add a pattern through the input box, recommend, then a click on the
    // new pattern's box and one on "*.bak"'s.
    program.clickTab(tabs, 2);
    HWND patterns = program.control("选择列表框3");
    program.clickControl(program.control("按钮9"));
    HWND box = program.waitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ProgramDriver::boxText(box), L"添加一个文件类型,如: *.tmp");
    ProgramDriver::answerBox(box, IDOK, L"*.e2e");
    program.settle();
    ASSERT_EQ(program.listCount(patterns), 38);
    EXPECT_EQ(program.listText(patterns, 37), L"*.e2e");
    program.clickControl(program.control("按钮10"));
    EXPECT_TRUE(program.listChecked(patterns, 5));   // "*.bak"
    EXPECT_FALSE(program.listChecked(patterns, 37));
    program.clickCheckBox(patterns, 37);
    program.clickCheckBox(patterns, 5);
    EXPECT_TRUE(program.listChecked(patterns, 37));
    EXPECT_FALSE(program.listChecked(patterns, 5));

    program.clickTab(tabs, 0);
    HWND results = program.control("选择列表框1");
    HWND scan = program.control("按钮1");
    program.clickControl(scan);
    ASSERT_TRUE(program.waitForText(scan, L"扫描"));
    EXPECT_EQ(program.text(program.window()), L"澄川清理专家");
    ASSERT_EQ(program.listCount(results), kMany + 4);
    std::set<std::wstring> found;
    for (int i = 0; i < program.listCount(results); ++i) {
        found.insert(program.listText(results, i));
        EXPECT_TRUE(program.listChecked(results, i)) << i;
    }
    for (const wchar_t* name : {L"a.tmp", L"x.e2e", L"sub\\b.log", L"many\\0.tmp", L"many\\2999.tmp"})
        EXPECT_TRUE(found.count(root + name)) << name;
    EXPECT_TRUE(found.count(swap + L"cur\\user\\a.tmp"));
    EXPECT_LT(program.findItem(results, root + L"a.tmp"), program.findItem(results, root + L"x.e2e"));   // pattern order
    EXPECT_EQ(program.text(program.control("标签6")), L"扫描到的文件约有29.336KB");
    program.screenshot(L"junk_scan_results");

    // Keep one by a click on its box; swap the folder; delete the rest.
    program.clickCheckBox(results, program.findItem(results, root + L"sub\\b.log"));
    ASSERT_TRUE(SwapInLink(swap));
    program.clickControl(program.control("按钮2"), false);
    // The window answers while it deletes: wait for the end state, the list
    // and then the estimate, which the handler clears last.
    HWND estimate = program.control("标签6");
    ASSERT_TRUE(WaitFor([&] { return program.listCount(results) == 1 && program.text(estimate).empty(); }, 120000));
    EXPECT_TRUE(IsUntouchedTwin(twin, "privileged"));
    EXPECT_TRUE(Exists(swap + L"old\\user\\a.tmp"));   // not reached: its folder's name now leads elsewhere
    EXPECT_EQ(program.listText(results, 0), root + L"sub\\b.log");
    for (const wchar_t* name : {L"a.tmp", L"x.e2e", L"many\\0.tmp", L"many\\1234.tmp", L"many\\2999.tmp"})
        EXPECT_FALSE(Exists(root + name)) << name;
    for (const wchar_t* name : {L"sub\\b.log", L"sub\\keep.bak", L".cache\\c.tmp", L"notes.logbook"})
        EXPECT_TRUE(Exists(root + name)) << name;   // unchecked, pattern unchecked, dot-folder, not "*.log*"

    // 磁盘信息: T: listed with its total space in whole MB.
    program.clickTab(tabs, 4);
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"T:\\", &available, &total, &free));
    HWND table = program.control("超级列表框1");
    EXPECT_EQ(program.listText(table, program.findItem(table, L"T:\\"), 1), std::to_wstring(total.QuadPart >> 20));
    EXPECT_EQ(program.closeAndWait(), 0);
    for (const wchar_t* name : {L".cache\\c.tmp", L"notes.logbook", L"sub\\keep.bak", L"sub\\b.log"})
        DeleteFileW((root + name).c_str());
    DeleteFileW((swap + L"old\\user\\a.tmp").c_str());
    EXPECT_TRUE(SwapBack(swap));
}
