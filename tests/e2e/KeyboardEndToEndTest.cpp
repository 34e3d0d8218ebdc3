// The real window worked by real key presses alone: Tab order, the strips' keys, Space and Enter on buttons
// and a link, Esc in a box, the system menu, Alt+F4; and a name for every control a user acts on, page by page.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <set>

#include "ProgramDriver.h"
#include "tests/windows/TestFiles.h"
#include "ui/Catalogue.h"

using namespace cc::test;

namespace {

// The name a screen reader reads: Active Accessibility's object for the window.
std::wstring AccessibleName(HWND hwnd) {
    cc::ComPtr<IAccessible> object;
    BSTR name = nullptr;
    VARIANT self{};
    self.vt = VT_I4, self.lVal = CHILDID_SELF;
    if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), object.putVoid())) || !object) return L"";
    std::wstring text = object->get_accName(self, &name) == S_OK && name ? name : L"";
    return SysFreeString(name), text;
}

void ExpectEveryShownControlNamed(const ProgramDriver& program, const std::string& where) {
    using enum cc::ControlKind;
    for (const cc::ControlSpec& spec : cc::Controls()) {
        HWND hwnd = program.control(std::string(spec.name).c_str());
        if (!std::set{PictureBox, Label, TransparentLabel, GroupBox, ProgressBar, Timer}.contains(spec.kind) && IsWindowVisible(hwnd))
            EXPECT_NE(AccessibleName(hwnd), L"") << where << ": " << spec.name;   // a control a user acts on
    }
}

// Presses the keys: the focus moves to each control in turn and stays there.
void ExpectTabOrder(const ProgramDriver& program, std::initializer_list<const char*> names, bool backwards = false) {
    for (const char* name : names) {
        HWND before = program.focus();
        backwards ? ProgramDriver::keys({{VK_SHIFT, VK_TAB}}) : ProgramDriver::keys({{VK_TAB}});
        WaitFor([&] { return program.focus() != before; });
        EXPECT_EQ(program.focus(), program.control(name)) << name;
    }
}

// Presses the keys: the strip shows the page, where every control a user acts on has a name.
bool PageAfter(const ProgramDriver& program, Chords chords, HWND tabs, int page) {
    ProgramDriver::keys(chords);
    if (!WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == page; })) return false;
    return ExpectEveryShownControlNamed(program, "page " + std::to_string(page)), true;
}

// A row of pixels just inside a button's edge, where its focus rectangle runs.
std::vector<COLORREF> FocusRow(HWND button) {
    std::vector<COLORREF> row;
    for (RECT r = ScreenRect(button); r.left + 3 < r.right - 3; ++r.left) row.push_back(ScreenPixel({r.left + 3, r.top + 3}));
    return row;
}

}  // namespace

TEST(KeyboardEndToEnd, EveryJobByKeyboardAndEveryControlNamed) {
    // A start page the repair scan finds changed, so that its link shows; a junk file on the test drive.
    const std::wstring page = L"http://keyboard.example/", junkFile = L"T:\\keyboard.tmp";
    ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page", REG_SZ,
                                 page.c_str(), static_cast<DWORD>((page.size() + 1) * sizeof(wchar_t))));
    ASSERT_TRUE(MakeFile(junkFile, "0123456789")) << "no test drive T: (scripts/test-fixtures.sh)";
    ProgramDriver program;
    ASSERT_TRUE(program.start());
    SetForegroundWindow(program.window());
    HWND outer = program.control("高级选择夹1"), info = program.control("高级选择夹2"), junk = program.control("高级选择夹3");
    // From start-up: the title-bar buttons, the strips, and round again.
    ExpectTabOrder(program, {"图形按钮_最小化", "图形按钮_最大化", "图形按钮_关闭", "高级选择夹1", "高级选择夹2", "图形按钮_最小化"});
    ExpectTabOrder(program, {"高级选择夹2"}, true);
    // Ctrl+PgDn on the inner strip opens CPU with the event of a click: its gauge starts.
    ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_NEXT}}, info, 1));
    EXPECT_TRUE(WaitFor([&] { return program.text("CPU信息标签").starts_with(L"\r\n 制造商"); }, 10000));
    ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_PRIOR}}, info, 0));
    // Ctrl+Tab on the outer strip walks its six pages; Ctrl+Shift+Tab goes back. Its tabs show icons
    // only: the tooltip names each page that holds something.
    ExpectTabOrder(program, {"高级选择夹1"}, true);
    for (int tab : {1, 2, 3, 4, 5, 0}) ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_TAB}}, outer, tab)) << tab;
    for (auto [tab, tip] : {std::pair{0, L"系统信息"}, {1, L"无效快捷方式"}, {2, L""}, {3, L"垃圾清理"}, {4, L"浏览器修复"}, {5, L""}})
        EXPECT_EQ(program.tabTip(outer, tab), tip) << tab;
    ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_SHIFT, VK_TAB}}, outer, 5) && PageAfter(program, {{VK_CONTROL, VK_SHIFT, VK_TAB}}, outer, 4));
    // Repair: Space on 按钮11 scans; the links that show then come before it.
    ExpectTabOrder(program, {"按钮11"});
    ProgramDriver::keys({{VK_SPACE}});
    HWND result = program.control("标签13"), link = program.control("超级链接框1");
    ASSERT_TRUE(program.waitForText(result, L"检测到您的IE首页为:" + page, 10000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(link) != FALSE; }));
    ExpectEveryShownControlNamed(program, "repair findings");
    for (const char* name : {"超级链接框5", "超级链接框4", "超级链接框3", "超级链接框2", "超级链接框1"})
        if (IsWindowVisible(program.control(name))) ExpectTabOrder(program, {name}, true);
    // Enter on the link repairs its row; the box takes Esc as its only answer, OK. The link hides,
    // and hands the focus on to a control that shows.
    ProgramDriver::keys({{VK_RETURN}});
    ASSERT_EQ(program.answerBoxByKeys({{VK_ESCAPE}}), L"修复完毕.");
    EXPECT_TRUE(WaitFor([&] { HWND f = program.focus(); return !IsWindowVisible(link) && f && IsWindowVisible(f); }, 10000));
    // Junk: the strip, then Ctrl+Tab inside it, to 磁盘 and its local disks, listed since the walk above.
    ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_SHIFT, VK_TAB}}, outer, 3));
    ExpectTabOrder(program, {"高级选择夹3"});
    ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_TAB}}, junk, 1));
    ExpectTabOrder(program, {"选择列表框2", "按钮5", "按钮6", "选择框1"});
    HWND drives = program.control("选择列表框2");
    // Only T:, by keys: 全不选, then the arrows to T: and space on its box, each key taken in order.
    ExpectTabOrder(program, {"按钮6"}, true);
    ProgramDriver::keys({{VK_SPACE}});
    ExpectTabOrder(program, {"按钮5", "选择列表框2"}, true);
    std::vector<bool> onlyT(program.listCount(drives));
    const int t = program.findItem(drives, L"T:\\");
    ASSERT_GE(t, 0);
    ProgramDriver::keys({{VK_HOME}});
    for (int i = 0; i < t; ++i) ProgramDriver::keys({{VK_DOWN}});
    ProgramDriver::keys({{VK_SPACE}}), onlyT[t] = true;
    EXPECT_TRUE(WaitFor([&] { return program.checks(drives) == onlyT; }));
    // 类型: space on 推荐 (the scan below finds by its patterns); Enter on 添加 opens the input box, and Esc
    // cancels what was typed. The focus comes back to the button, as to a dialog box's.
    ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_TAB}}, junk, 2));
    ExpectTabOrder(program, {"选择列表框3", "按钮10"});
    ProgramDriver::keys({{VK_SPACE}});
    ExpectTabOrder(program, {"按钮7", "按钮8", "按钮9"});
    ProgramDriver::keys({{VK_RETURN}});
    ASSERT_EQ(program.answerBoxByKeys({{'X'}, {VK_ESCAPE}}), L"添加一个文件类型,如: *.tmp");
    EXPECT_TRUE(WaitFor([&] { return program.focus() == program.control("按钮9"); }));
    for (int tab : {3, 4, 0}) ASSERT_TRUE(PageAfter(program, {{VK_CONTROL, VK_TAB}}, junk, tab)) << tab;   // all five pages walked
    EXPECT_EQ(program.listCount(program.control("选择列表框3")), 37);   // the page changed after the box's handler: nothing added
    // 扫描: every button in order, its focus rectangle showing.
    HWND scan = program.control("按钮1"), results = program.control("选择列表框1");
    ExpectTabOrder(program, {"选择列表框1"});
    const std::vector<COLORREF> unfocused = FocusRow(scan);
    ExpectTabOrder(program, {"按钮1"});
    EXPECT_TRUE(WaitFor([&] { return FocusRow(scan) != unfocused; }));
    ExpectTabOrder(program, {"按钮2", "按钮3", "按钮4", "图形按钮_最小化"});
    ExpectTabOrder(program, {"按钮4", "按钮3", "按钮2", "按钮1"}, true);
    // Enter starts a scan of T:; Enter again, queued right behind, stops it at the scan's first look
    // at the queue, before it lists T:'s first folder. One Enter is one click: the scan runs to its end.
    // Only a scan that ended with nothing listed shows a total of nothing: a scan that ran on lists junkFile.
    ProgramDriver::keys({{VK_RETURN}, {VK_RETURN}});
    ASSERT_TRUE(program.waitForText(program.control("标签6"), L"扫描到的文件约有0.000KB"));
    EXPECT_EQ(program.text(scan), L"扫描");
    EXPECT_EQ(program.listCount(results), 0);
    ProgramDriver::keys({{VK_RETURN}});
    EXPECT_TRUE(WaitFor([&] { return program.findItem(results, junkFile) >= 0 && program.text(scan) == L"扫描"; }, 60000));
    // Alt+Space: the system menu. Its last item is Close, the one above it Maximize: the program's own,
    // which leaves the bottom 26 pixels free; the button is then named for Restore.
    ProgramDriver::keys({{VK_MENU, VK_SPACE}});
    ASSERT_NE(program.waitForWindow(L"#32768"), nullptr);
    ProgramDriver::keys({{VK_END}, {VK_UP}, {VK_RETURN}});
    const RECT covering{-6, -4, GetSystemMetrics(SM_CXSCREEN) + 6, GetSystemMetrics(SM_CYSCREEN) - 26};
    EXPECT_TRUE(WaitFor([&] { const RECT now = ScreenRect(program.window()); return EqualRect(&now, &covering) != FALSE; }));
    EXPECT_EQ(AccessibleName(program.control("图形按钮_最大化")), L"还原");
    ProgramDriver::keys({{VK_MENU, VK_F4}});   // closes as the close button does
    EXPECT_EQ(program.waitForExit(), 0);
    DeleteFileW(junkFile.c_str());
}
