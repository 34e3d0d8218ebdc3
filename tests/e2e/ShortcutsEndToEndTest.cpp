// The invalid-shortcut page in the real window: shortcuts made on the test
// drive, a scan of every drive, deletion of those whose box stays checked,
// a folder swapped for a link before the deletion, and a close during a scan.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

TEST(ShortcutsEndToEnd, ListsTheBrokenShortcutsOfEveryDriveAndDeletesTheChecked) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring root = L"T:\\links\\";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"sub").c_str(), nullptr);
    ASSERT_TRUE(SaveShortcut(root + L"good.lnk", root + L"sub")) << "no test drive T: (scripts/test-fixtures.sh)";
    ASSERT_TRUE(SaveShortcut(root + L"gone.lnk", root + L"gone.exe"));
    ASSERT_TRUE(SaveShortcut(root + L"sub\\also-gone.LNK", L"C:\\nowhere\\x.exe"));
    ASSERT_TRUE(SaveShortcut(root + L"sub\\keep-gone.lnk", L"C:\\nowhere\\y.exe"));
    // A broken shortcut of a standard user's, whose folder they swap for a link to a privileged folder once it is listed.
    const std::wstring swap = L"T:\\swap\\shortcuts\\", mine = swap + L"cur\\user\\mine.lnk";
    const std::wstring twin = L"C:\\cc-fixtures\\priv-shortcuts\\mine.lnk";
    CreateDirectoryW((swap + L"cur").c_str(), nullptr), CreateDirectoryW((swap + L"cur\\user").c_str(), nullptr);
    ASSERT_TRUE(SaveShortcut(mine, L"C:\\nowhere\\z.exe"));
    const std::string twinBytes = ReadWholeFile(mine);
    ASSERT_TRUE(MakePrivilegedTwin(twin, twinBytes));

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 1);
    HWND scan = program.control("扫描"), list = program.control("选择1");
    program.clickControl(scan, false);
    // The total replaces the caption "标签" only when the scan ends, however fast it is.
    HWND total = program.control("标签1");
    ASSERT_TRUE(WaitFor([&] { return program.text(total).rfind(L"无效文件共有 ", 0) == 0; }, 60000));
    EXPECT_EQ(program.text(scan), L"扫描");
    EXPECT_EQ(program.text(program.control("透明标签3")), L"扫描结果:");

    // Ours are listed, in walk order; a click on its box spares every other
    // one (the prefix may hold broken shortcuts of its own) and keep-gone.
    std::vector<std::wstring> ours;
    for (int i = 0; i < program.listCount(list); ++i) {
        std::wstring item = program.listText(list, i);
        EXPECT_TRUE(program.listChecked(list, i)) << i;
        if (item.rfind(root, 0) == 0) ours.push_back(item);
        if ((item.rfind(root, 0) != 0 && item != mine) || item == root + L"sub\\keep-gone.lnk") program.clickCheckBox(list, i);
    }
    EXPECT_GE(program.findItem(list, mine), 0);
    EXPECT_EQ(ours, (std::vector<std::wstring>{root + L"gone.lnk", root + L"sub\\also-gone.LNK", root + L"sub\\keep-gone.lnk"}));
    program.screenshot(L"shortcuts_found");

    const int before = program.listCount(list);
    ASSERT_TRUE(SwapInLink(swap));
    program.clickControl(program.control("删除"), false);
    // The window answers while it deletes, so wait for the list's end state.
    EXPECT_TRUE(WaitFor([&] { return program.listCount(list) == before - 3; }, 60000));
    EXPECT_TRUE(IsUntouchedTwin(twin, twinBytes));
    EXPECT_TRUE(Exists(swap + L"old\\user\\mine.lnk"));   // not reached: its folder's name now leads elsewhere
    EXPECT_FALSE(Exists(root + L"gone.lnk") || Exists(root + L"sub\\also-gone.LNK"));
    EXPECT_TRUE(Exists(root + L"sub\\keep-gone.lnk") && Exists(root + L"good.lnk"));
    // Scanning again, with the frame's close button clicked right behind: the
    // scan's first look at the queue takes that click, on any machine.
    program.clickControl(scan, false);
    program.clickControl(program.control("图形按钮_关闭"), false);
    EXPECT_EQ(program.waitForExit(), 0);
    for (const wchar_t* name : {L"good.lnk", L"sub\\keep-gone.lnk"}) DeleteFileW((root + name).c_str());
    DeleteFileW((swap + L"old\\user\\mine.lnk").c_str());
    EXPECT_TRUE(SwapBack(swap));
    CoUninitialize();
}
