// The two cleaners in the real window, worked with real clicks on every box. What is matched, read, skipped
// and deleted, link swaps and all, is the host and Wine tests'; here, one case of each for the wiring.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ProgramDriver.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/RecycleBin.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

TEST(JunkEndToEnd, ScansThousandsOfFilesAndDeletesWhatIsChecked) {
    const std::wstring root = L"T:\\e2e\\";
    constexpr int kMany = 3001;   // with the four others, 29.346KB as the README picture shows
    for (const wchar_t* folder : {L"", L"many"}) CreateDirectoryW((root + folder).c_str(), nullptr);
    for (const wchar_t* name : {L"a.tmp", L"b.log", L"keep.bak", L"x.e2e", L"held.tmp"})
        ASSERT_TRUE(MakeFile(root + name, "0123456789")) << "no test drive T: (scripts/test-fixtures.sh)";
    for (int i = 0; i < kMany; ++i) ASSERT_TRUE(MakeFile(root + L"many\\" + std::to_wstring(i) + L".tmp", "0123456789"));
    ProgramDriver program;
    ASSERT_TRUE(program.start());
    // A new user's first scan, nothing chosen: a box says a pattern is wanted and nothing changes. The local
    // disks are listed, all checked, at the first look.
    program.openPage("高级选择夹1", 3);
    HWND scan = program.control("按钮1"), results = program.control("选择列表框1"), drives = program.control("选择列表框2");
    const std::wstring before = program.text(program.window()) + program.text(scan) + program.text("标签6");
    program.clickControl(scan, false);
    EXPECT_EQ(program.answerBox(IDOK), L"请先在“类型”页勾选要查找的文件类型。");
    EXPECT_EQ(program.text(program.window()) + program.text(scan) + program.text("标签6"), before);
    std::vector<std::wstring> fixed;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
        if (const std::wstring drive{letter, L':', L'\\'}; GetDriveTypeW(drive.c_str()) == DRIVE_FIXED) fixed.push_back(drive);
    EXPECT_EQ(program.items(drives), fixed);
    EXPECT_TRUE(program.allChecked(drives));
    // 磁盘: 全不选, then a click on T:'s box.
    program.openPage("高级选择夹3", 1), program.click("按钮6");
    std::vector<bool> onlyT(program.listCount(drives));
    const int t = program.findItem(drives, L"T:\\");
    ASSERT_GE(t, 0);
    program.clickCheckBox(drives, t), onlyT[t] = true;
    EXPECT_EQ(program.checks(drives), onlyT);
    // A pattern added through the input box; then 推荐, a click on its box and one on "*.bak"'s, which the
    // table follows at once: the scan finds x.e2e and not keep.bak.
    program.openPage("高级选择夹3", 2), program.click("按钮9");
    EXPECT_EQ(program.answerBox(IDOK, L"*.e2e"), L"添加一个文件类型,如: *.tmp");
    program.click("按钮10");   // 推荐
    HWND patterns = program.control("选择列表框3");
    ASSERT_EQ(program.findItem(patterns, L"*.e2e"), 37);
    program.clickCheckBox(patterns, 37), program.clickCheckBox(patterns, 5);
    // 扫描垃圾, then the caption "扫描" that only the scan's end brings back.
    program.openPage("高级选择夹3", 0), program.clickControl(scan);
    ASSERT_TRUE(program.waitForText(scan, L"扫描"));
    EXPECT_EQ(program.text(program.window()) + program.text("标签6"), L"澄川清理专家扫描到的文件约有29.346KB");
    program.screenshot(L"junk_found");
    const auto found = program.items(results);
    ASSERT_EQ(found.size(), kMany + 4u);
    EXPECT_TRUE(program.allChecked(results));
    for (const std::wstring& path : {root + L"a.tmp", root + L"x.e2e", root + L"b.log", root + L"many\\3000.tmp"})
        EXPECT_EQ(std::count(found.begin(), found.end(), path), 1) << cc::Narrow(path);
    // Keep one by a click on its box; hold a file open without delete sharing; delete the rest. (A folder swapped
    // for a link as it goes is ExactFilesOnWine's.) The window answers while it deletes: wait for the list, then
    // the estimate cleared before the box.
    program.clickCheckBox(results, program.findItem(results, root + L"b.log"));
    cc::UniqueHfile held(CreateFileW((root + L"held.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    program.click("按钮2", false);
    ASSERT_TRUE(WaitFor([&] { return program.listCount(results) == 2 && program.text("标签6").empty(); }, 120000));
    EXPECT_EQ(program.answerBox(IDOK), L"有 1 个文件未能删除");
    for (const std::wstring& path : {root + L"b.log", root + L"held.tmp"}) EXPECT_GE(program.findItem(results, path), 0);
    EXPECT_EQ(program.checks(results), std::vector<bool>(2, false));
    held.reset();
    for (const wchar_t* name : {L"a.tmp", L"x.e2e", L"many\\0.tmp", L"many\\3000.tmp"}) EXPECT_FALSE(Exists(root + name)) << name;
    EXPECT_TRUE(Exists(root + L"b.log") && Exists(root + L"keep.bak") && Exists(root + L"held.tmp"));
    // With every drive unchecked, a box says a drive is wanted, and no scan clears the list.
    program.openPage("高级选择夹3", 1), program.click("按钮6"), program.openPage("高级选择夹3", 0), program.clickControl(scan, false);
    EXPECT_EQ(program.answerBox(IDOK), L"请先在“磁盘”页勾选要扫描的磁盘。");
    EXPECT_EQ(program.listCount(results), 2);
    program.openPage("高级选择夹3", 4);   // 磁盘信息: T: listed with its total space in whole MB
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"T:\\", &available, &total, &free));
    HWND table = program.control("超级列表框1");
    EXPECT_EQ(program.listText(table, program.findItem(table, L"T:\\"), 1), std::to_wstring(total.QuadPart >> 20));
    EXPECT_EQ(program.closeAndWait(), 0);
    for (const wchar_t* name : {L"keep.bak", L"b.log", L"held.tmp"}) DeleteFileW((root + name).c_str());
}

// 将要删除文件移动到回收站, chosen with a real click: 删除垃圾 moves the checked files into T:'s bin; a file held open
// without delete sharing, one whose folder was swapped for a link, and one on U:, whose bin is a planted link, stay.
TEST(JunkEndToEnd, TheRecycleChoiceMovesTheCheckedFilesIntoTheBin) {
    const std::wstring root = L"T:\\e2e-bin\\", swap = L"T:\\swap\\recycle\\", twin = L"C:\\cc-fixtures\\priv-recycle\\a.tmp";
    ProgramDriver program;
    ASSERT_TRUE(program.start());
    program.openPage("高级选择夹1", 3), program.openPage("高级选择夹3", 3);
    ASSERT_EQ(IsWindowEnabled(program.control("单选框1")) != FALSE, cc::KeepsUserBins());   // XP: off, and deletion it is
    if (!cc::KeepsUserBins()) {
        EXPECT_EQ(program.closeAndWait(), 0);
        return;
    }
    CreateDirectoryW(root.c_str(), nullptr), CreateDirectoryW((swap + L"cur").c_str(), nullptr), CreateDirectoryW((swap + L"cur\\user").c_str(), nullptr);
    for (const std::wstring& path : {root + L"a.tmp", root + L"held.tmp", swap + L"cur\\user\\a.tmp", std::wstring(L"U:\\x.tmp")})
        ASSERT_TRUE(MakeFile(path, "0123456789")) << "run scripts/test-fixtures.sh";
    ASSERT_TRUE(MakePrivilegedTwin(twin, "privileged"));
    program.click("单选框1");
    EXPECT_TRUE(SendMessageW(program.control("单选框1"), BM_GETCHECK, 0, 0) == BST_CHECKED &&
                SendMessageW(program.control("单选框2"), BM_GETCHECK, 0, 0) == BST_UNCHECKED);
    program.openPage("高级选择夹3", 1), program.click("按钮6");   // 全不选, then T: and U: alone
    HWND drives = program.control("选择列表框2"), results = program.control("选择列表框1");
    for (const wchar_t* drive : {L"T:\\", L"U:\\"}) {
        ASSERT_GE(program.findItem(drives, drive), 0);
        program.clickCheckBox(drives, program.findItem(drives, drive));
    }
    program.openPage("高级选择夹3", 2), program.click("按钮10"), program.openPage("高级选择夹3", 0), program.click("按钮1");
    ASSERT_TRUE(program.waitForText(program.control("按钮1"), L"扫描"));
    ASSERT_TRUE(SwapInLink(swap));
    cc::UniqueHfile held(CreateFileW((root + L"held.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    program.click("按钮2", false);
    EXPECT_EQ(program.answerBox(IDOK), L"有 3 个文件未能移到回收站");
    const auto stayed = program.items(results);
    EXPECT_EQ(std::set<std::wstring>(stayed.begin(), stayed.end()), (std::set<std::wstring>{root + L"held.tmp", swap + L"cur\\user\\a.tmp", L"U:\\x.tmp"}));
    EXPECT_EQ(program.closeAndWait(), 0);
    held.reset();
    EXPECT_TRUE(IsUntouchedTwin(twin, "privileged") && Exists(swap + L"old\\user\\a.tmp") && Exists(L"U:\\x.tmp"));
    EXPECT_FALSE(Exists(root + L"a.tmp"));
    int moved = 0;
    const std::wstring bin = L"T:\\$Recycle.Bin\\" + cc::UserSid() + L"\\";
    ForEachIn(bin, [&](const std::wstring& path, const WIN32_FIND_DATAW& entry) {
        if (entry.cFileName[0] == L'$') moved += ReadWholeFile(path) == "0123456789", DeleteFileW(path.c_str());
    });
    EXPECT_EQ(moved, 1);
    for (const std::wstring& path : {root + L"held.tmp", swap + L"old\\user\\a.tmp", std::wstring(L"U:\\x.tmp")}) DeleteFileW(path.c_str());
    EXPECT_TRUE(SwapBack(swap));
}

// A scan of every drive lists the broken shortcuts of the test drive; a close during the next scan ends it.
// (Deleting exactly the checked items is the junk run's, through the same code.)
TEST(ShortcutsEndToEnd, ListsTheBrokenShortcutsOfEveryDriveAndACloseEndsAScan) {
    const std::wstring root = L"T:\\links\\";
    CreateDirectoryW(root.c_str(), nullptr), CreateDirectoryW((root + L"sub").c_str(), nullptr);
    ASSERT_TRUE(SaveShortcut(root + L"good.lnk", root + L"sub")) << "no test drive T: (scripts/test-fixtures.sh)";
    ASSERT_TRUE(SaveShortcut(root + L"gone.lnk", root + L"gone.exe") && SaveShortcut(root + L"sub\\gone.LNK", L"C:\\nowhere\\x.exe"));
    ProgramDriver program;
    ASSERT_TRUE(program.start());
    program.openPage("高级选择夹1", 1), program.click("扫描", false);
    const DWORD scanStart = GetTickCount();
    HWND list = program.control("选择1");
    // The total replaces the caption "标签" only when the scan ends, however fast it is. Ours are listed,
    // in walk order, all checked (the prefix may hold broken shortcuts of its own).
    ASSERT_TRUE(WaitFor([&] { return program.text("标签1").starts_with(L"无效文件共有 "); }, 60000));
    const DWORD wholeScan = GetTickCount() - scanStart;
    EXPECT_TRUE(program.allChecked(list));
    auto ours = program.items(list);
    std::erase_if(ours, [&](const std::wstring& item) { return !item.starts_with(root); });
    EXPECT_EQ(ours, (std::vector<std::wstring>{root + L"gone.lnk", root + L"sub\\gone.LNK"}));
    program.screenshot(L"shortcuts_found");
    // Scanning again, with the frame's close button clicked right behind: the scan's first look at the
    // queue takes that click, on any machine: the window hides (its destruction begins) well within a whole
    // scan's time.
    program.click("扫描", false), program.click("图形按钮_关闭", false);
    const DWORD closeStart = GetTickCount();
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(program.window()); }, 60000));
    EXPECT_LT(GetTickCount() - closeStart, wholeScan / 4) << wholeScan;   // a second scan takes about half the first
    EXPECT_EQ(program.waitForExit(), 0);
    for (const wchar_t* name : {L"good.lnk", L"gone.lnk", L"sub\\gone.LNK"}) DeleteFileW((root + name).c_str());
}
