// The invalid-shortcut page in the real window: shortcuts made on the test
// drive, a scan of every drive, deletion of those whose box stays checked,
// and a close during a scan. (The folder swap before a deletion is the junk
// run's: both pages delete through the same code.)
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

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.openPage("高级选择夹1", 1);
    HWND scan = program.control("扫描"), list = program.control("选择1");
    program.clickControl(scan, false);
    // The total replaces the caption "标签" only when the scan ends, however fast it is.
    HWND total = program.control("标签1");
    ASSERT_TRUE(WaitFor([&] { return program.text(total).rfind(L"无效文件共有 ", 0) == 0; }, 60000));
    EXPECT_EQ(program.text(scan) + program.text(program.control("透明标签3")), L"扫描扫描结果:");
    // Ours are listed, in walk order, all checked; a click on its box spares every other
    // one (the prefix may hold broken shortcuts of its own) and keep-gone.
    EXPECT_TRUE(program.allChecked(list));
    std::vector<std::wstring> ours;
    for (const std::wstring& item : program.items(list))
        if (item.rfind(root, 0) == 0) ours.push_back(item);
    EXPECT_EQ(ours, (std::vector<std::wstring>{root + L"gone.lnk", root + L"sub\\also-gone.LNK", root + L"sub\\keep-gone.lnk"}));
    EXPECT_TRUE(program.checkOnly(list, [&](auto& item) { return item.rfind(root, 0) == 0 && item != root + L"sub\\keep-gone.lnk"; }));
    program.screenshot(L"shortcuts_found");

    const int before = program.listCount(list);
    program.clickControl(program.control("删除"), false);
    // The window answers while it deletes, so wait for the list's end state.
    EXPECT_TRUE(WaitFor([&] { return program.listCount(list) == before - 2; }, 60000));
    EXPECT_FALSE(Exists(root + L"gone.lnk") || Exists(root + L"sub\\also-gone.LNK"));
    EXPECT_TRUE(Exists(root + L"sub\\keep-gone.lnk") && Exists(root + L"good.lnk"));
    // Scanning again, with the frame's close button clicked right behind: the
    // scan's first look at the queue takes that click, on any machine.
    program.clickControl(scan, false);
    program.clickControl(program.control("图形按钮_关闭"), false);
    EXPECT_EQ(program.waitForExit(), 0);
    for (const wchar_t* name : {L"good.lnk", L"sub\\keep-gone.lnk"}) DeleteFileW((root + name).c_str());
    CoUninitialize();
}
