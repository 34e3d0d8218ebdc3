// The real window worked with the keyboard alone, by real key presses: the
// Tab order of the pages, Ctrl+Tab and Ctrl+PgDn/PgUp on the strips (with
// the event a click raises), Space and Enter on buttons and a link, Esc in
// the modal boxes, the system menu and Alt+F4; and a name for assistive
// technology on every control a user can act on, page by page.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "platform/win32/Handles.h"
#include "tests/windows/TestFiles.h"
#include "ui/Catalogue.h"

using namespace cc::test;

namespace {

using Chord = std::initializer_list<WORD>;

bool ActedOn(cc::ControlKind kind) {
    using K = cc::ControlKind;
    switch (kind) {
        case K::GraphicButton: case K::ImageButton: case K::PushButton: case K::CheckBox: case K::RadioButton:
        case K::EditBox: case K::ComboBox: case K::ListBox: case K::CheckedListBox: case K::ReportListView:
        case K::HyperlinkBox: case K::TabControl:
            return true;
        default:
            return false;
    }
}

// The name a screen reader reads: Active Accessibility's object for the window.
std::wstring AccessibleName(HWND hwnd) {
    cc::ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), object.putVoid())) || !object) return L"?";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text = object->get_accName(self, &name) == S_OK && name ? name : L"";
    SysFreeString(name);
    return text;
}

void ExpectEveryShownControlNamed(const ProgramDriver& program, const char* where) {
    for (const cc::ControlSpec& spec : cc::Controls()) {
        HWND hwnd = program.control(std::string(spec.name).c_str());
        if (!ActedOn(spec.kind) || !IsWindowVisible(hwnd)) continue;
        EXPECT_NE(AccessibleName(hwnd), L"") << where << ": " << spec.name;
    }
}

// Presses the keys; the focus moves and stays where it went.
HWND FocusAfter(const ProgramDriver& program, Chord chord) {
    HWND before = program.focus();
    ProgramDriver::keys({chord});
    WaitFor([&] { return program.focus() != before; }, 5000);
    return program.focus();
}

void ExpectTabOrder(const ProgramDriver& program, std::initializer_list<const char*> names, bool backwards = false) {
    for (const char* name : names)
        EXPECT_EQ(FocusAfter(program, backwards ? Chord{VK_SHIFT, VK_TAB} : Chord{VK_TAB}), program.control(name)) << name;
}

int FocusedItem(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

int CurrentTab(HWND tabs) { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }

bool PageAfter(Chord chord, HWND tabs, int page) {
    ProgramDriver::keys({chord});
    return WaitFor([&] { return CurrentTab(tabs) == page; }, 5000);
}

// The program's box, answered by keys: the text it showed, once it has gone ("" if none came or it stayed).
std::wstring AnswerByKeys(const ProgramDriver& program, std::initializer_list<std::initializer_list<WORD>> chords) {
    HWND box = program.waitForBox();
    const std::wstring shown = box ? ProgramDriver::boxText(box) : L"";
    ProgramDriver::keys(chords);
    return box && WaitFor([&] { return !IsWindow(box); }, 5000) ? shown : L"";
}

// A row of pixels just inside a button's edge, where its focus rectangle runs.
std::vector<COLORREF> FocusRow(HWND button) {
    const RECT r = ScreenRect(button);
    std::vector<COLORREF> row;
    for (int x = r.left + 3; x < r.right - 3; ++x) row.push_back(ScreenPixel({x, r.top + 3}));
    return row;
}

// The program's popup menu, once it shows.
HWND SystemMenuAfter(const ProgramDriver& program, Chord chord) {
    ProgramDriver::keys({chord});
    HWND menu = nullptr;
    WaitFor([&] {
        for (menu = nullptr; (menu = FindWindowExW(nullptr, menu, L"#32768", nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(menu, &pid);
            if (pid == GetProcessId(program.process()) && IsWindowVisible(menu)) return true;
        }
        return false;
    }, 5000);
    return menu;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

}  // namespace

TEST(KeyboardEndToEnd, EveryJobByKeyboardAndEveryControlNamed) {
    // A start page the repair scan finds changed, so that its link shows.
    const std::wstring page = L"http://keyboard.example/";
    ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page", REG_SZ,
                                 page.c_str(), static_cast<DWORD>((page.size() + 1) * sizeof(wchar_t))));
    // And a junk file on the test drive, for the scan.
    const std::wstring junkFile = L"T:\\keyboard\\a.tmp";
    CreateDirectoryW(L"T:\\keyboard", nullptr);
    ASSERT_TRUE(MakeFile(junkFile, "0123456789")) << "no test drive T: (scripts/test-fixtures.sh)";
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    HWND window = program.window();
    SetForegroundWindow(window);
    HWND outer = program.control("高级选择夹1"), info = program.control("高级选择夹2"), junk = program.control("高级选择夹3");
    HWND maximise = program.control("图形按钮_最大化");

    EXPECT_EQ(AccessibleName(program.control("图形按钮_最小化")), L"最小化");
    EXPECT_EQ(AccessibleName(maximise), L"最大化");
    EXPECT_EQ(AccessibleName(program.control("图形按钮_关闭")), L"关闭");
    EXPECT_EQ(AccessibleName(program.control("按钮11")), L"扫描IE");
    ExpectEveryShownControlNamed(program, "start");

    // From start-up: the title-bar buttons, the strips, and round again.
    ExpectTabOrder(program, {"图形按钮_最小化", "图形按钮_最大化", "图形按钮_关闭", "高级选择夹1", "高级选择夹2", "图形按钮_最小化"});
    ExpectTabOrder(program, {"高级选择夹2"}, true);
    // Ctrl+PgDn on the inner strip opens CPU with the event of a click: its gauge starts.
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_NEXT}, info, 1));
    HWND cpu = program.control("CPU信息标签");
    EXPECT_TRUE(WaitFor([&] { return program.text(cpu).rfind(L"\r\n 制造商", 0) == 0; }, 10000)) << program.text(cpu).size();
    ExpectEveryShownControlNamed(program, "CPU");
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_PRIOR}, info, 0));

    // Ctrl+Tab on the outer strip walks its six pages; Ctrl+Shift+Tab goes back.
    ExpectTabOrder(program, {"高级选择夹1"}, true);
    for (int tab : {1, 2, 3, 4, 5, 0}) {
        ASSERT_TRUE(PageAfter({VK_CONTROL, VK_TAB}, outer, tab)) << tab;
        ExpectEveryShownControlNamed(program, ("outer page " + std::to_string(tab)).c_str());
    }
    // Its tabs show icons only: the tooltip names each page that holds something.
    std::vector<std::wstring> tips;
    for (int tab = 0; tab < 6; ++tab) tips.push_back(program.tabTip(outer, tab));
    EXPECT_EQ(tips, (std::vector<std::wstring>{L"系统信息", L"无效快捷方式", L"", L"垃圾清理", L"浏览器修复", L""}));
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_SHIFT, VK_TAB}, outer, 5));
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_SHIFT, VK_TAB}, outer, 4));

    // Repair: Space on 按钮11 scans; the link that shows then comes before it.
    ExpectTabOrder(program, {"按钮11"});
    ProgramDriver::keys({{VK_SPACE}});
    HWND result = program.control("标签13"), link = program.control("超级链接框1");
    ASSERT_TRUE(program.waitForText(result, L"检测到您的IE首页为:" + page, 10000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(link) != FALSE; }, 5000));
    ExpectEveryShownControlNamed(program, "repair findings");
    std::vector<const char*> links;
    for (const char* name : {"超级链接框5", "超级链接框4", "超级链接框3", "超级链接框2", "超级链接框1"})
        if (IsWindowVisible(program.control(name))) links.push_back(name);
    for (const char* name : links) EXPECT_EQ(FocusAfter(program, {VK_SHIFT, VK_TAB}), program.control(name)) << name;
    // Enter on the link repairs its row; the box takes Esc as its only answer, OK.
    ProgramDriver::keys({{VK_RETURN}});
    ASSERT_EQ(AnswerByKeys(program, {{VK_ESCAPE}}), L"修复完毕.");
    EXPECT_TRUE(program.waitForText(result, L"未发现异常", 10000));
    // The link hides, and hands the focus on to a control that shows.
    EXPECT_TRUE(WaitFor([&] { HWND f = program.focus(); return f && f != link && IsWindowVisible(f); }, 5000));
    EXPECT_FALSE(IsWindowVisible(link));

    // Junk: the strip, then Ctrl+Tab inside it. On 磁盘, space on the check box lists every drive.
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_SHIFT, VK_TAB}, outer, 3));
    ExpectTabOrder(program, {"高级选择夹3"});
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_TAB}, junk, 1));
    ExpectTabOrder(program, {"选择列表框2", "按钮5", "按钮6", "选择框1"});
    ProgramDriver::keys({{VK_SPACE}});
    HWND drives = program.control("选择列表框2");
    ASSERT_TRUE(WaitFor([&] { return program.listCount(drives) > 0; }, 10000));
    ExpectEveryShownControlNamed(program, "junk 磁盘");
    // Only T:, by keys: 全不选, then the arrows to T: and space on its box.
    ExpectTabOrder(program, {"按钮6"}, true);
    ProgramDriver::keys({{VK_SPACE}});
    ASSERT_TRUE(WaitFor([&] { return !program.listChecked(drives, 0); }, 5000));
    ExpectTabOrder(program, {"按钮5", "选择列表框2"}, true);
    const int t = program.findItem(drives, L"T:\\");
    ASSERT_GE(t, 0);
    ProgramDriver::keys({{VK_HOME}});
    for (int i = 0; i <= t; ++i) {
        if (i > 0) ProgramDriver::keys({{VK_DOWN}});
        ASSERT_TRUE(WaitFor([&] { return FocusedItem(drives) == i; }, 5000)) << i;
    }
    ProgramDriver::keys({{VK_SPACE}});
    ASSERT_TRUE(WaitFor([&] { return program.listChecked(drives, t); }, 5000));
    for (int i = 0; i < program.listCount(drives); ++i) EXPECT_EQ(program.listChecked(drives, i), i == t) << i;

    // 类型: space on 推荐; Enter on 添加 opens the input box, and Esc cancels what was typed.
    ASSERT_TRUE(PageAfter({VK_CONTROL, VK_TAB}, junk, 2));
    ExpectTabOrder(program, {"选择列表框3", "按钮10"});
    ProgramDriver::keys({{VK_SPACE}});
    HWND patterns = program.control("选择列表框3");
    ASSERT_TRUE(WaitFor([&] { return program.listChecked(patterns, 5); }, 5000));   // "*.bak"
    ExpectTabOrder(program, {"按钮7", "按钮8", "按钮9"});
    ProgramDriver::keys({{VK_RETURN}});
    ASSERT_EQ(AnswerByKeys(program, {{'X'}, {VK_ESCAPE}}), L"添加一个文件类型,如: *.tmp");
    // The focus comes back to the button, as to a dialog box's.
    EXPECT_TRUE(WaitFor([&] { return program.focus() == program.control("按钮9"); }, 5000));

    for (int tab : {3, 4, 0}) {   // 高级, 磁盘信息, 扫描: all five pages walked
        ASSERT_TRUE(PageAfter({VK_CONTROL, VK_TAB}, junk, tab)) << tab;
        ExpectEveryShownControlNamed(program, ("junk page " + std::to_string(tab)).c_str());
    }
    EXPECT_EQ(program.listCount(patterns), 37);   // the page changed after the box's handler: nothing added

    // 扫描: every button in order, its focus rectangle showing.
    HWND scan = program.control("按钮1");
    ExpectTabOrder(program, {"选择列表框1"});
    const std::vector<COLORREF> unfocused = FocusRow(scan);
    ExpectTabOrder(program, {"按钮1"});
    EXPECT_TRUE(WaitFor([&] { return FocusRow(scan) != unfocused; }, 5000));
    ExpectTabOrder(program, {"按钮2", "按钮3", "按钮4", "图形按钮_最小化"});
    ExpectTabOrder(program, {"按钮4", "按钮3", "按钮2"}, true);
    // Enter on 删除垃圾 with nothing listed asks whether to scan; Esc answers Cancel.
    ProgramDriver::keys({{VK_RETURN}});
    ASSERT_EQ(AnswerByKeys(program, {{VK_ESCAPE}}), L"删除项目为空,是否进行扫描?");
    ExpectTabOrder(program, {"按钮1"}, true);
    EXPECT_EQ(program.text(scan), L"扫描垃圾");   // Cancel started no scan
    // Enter starts a scan of T:; Enter again, queued right behind, stops it
    // at the scan's first look at the queue, before it lists T:'s first folder.
    HWND results = program.control("选择列表框1");
    ProgramDriver::keys({{VK_RETURN}, {VK_RETURN}});
    ASSERT_TRUE(program.waitForText(scan, L"扫描"));
    EXPECT_EQ(program.listCount(results), 0);
    // One Enter is one click: the scan runs to its end and lists the file.
    ProgramDriver::keys({{VK_RETURN}});
    EXPECT_TRUE(WaitFor([&] { return program.findItem(results, junkFile) >= 0 && program.text(scan) == L"扫描"; }, 60000));

    // Alt+Space: the system menu. Its last item is Close, the one above it
    // Maximize (the program's own); when maximised, its first is Restore.
    const RECT normal = ScreenRect(window);
    const RECT covering{-6, -4, GetSystemMetrics(SM_CXSCREEN) + 6, GetSystemMetrics(SM_CYSCREEN) - 26};
    ASSERT_NE(SystemMenuAfter(program, {VK_MENU, VK_SPACE}), nullptr);
    ProgramDriver::keys({{VK_END}, {VK_UP}, {VK_RETURN}});
    ASSERT_TRUE(WaitFor([&] { return SameRect(ScreenRect(window), covering); }, 5000));
    EXPECT_EQ(AccessibleName(maximise), L"还原");
    ASSERT_NE(SystemMenuAfter(program, {VK_MENU, VK_SPACE}), nullptr);
    ProgramDriver::keys({{VK_HOME}, {VK_RETURN}});
    ASSERT_TRUE(WaitFor([&] { return SameRect(ScreenRect(window), normal); }, 5000));
    EXPECT_EQ(AccessibleName(maximise), L"最大化");

    // Alt+F4 closes as the close button does.
    ProgramDriver::keys({{VK_MENU, VK_F4}});
    EXPECT_EQ(program.waitForExit(), 0);
    DeleteFileW(junkFile.c_str());
    CoUninitialize();
}
