// The system-information pages in the real window: each page filled from
// the real queries, the two gauges ticking once a second, also while hidden.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <string>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"

using namespace cc::test;

extern std::wstring gProgram;
extern std::wstring gScreenshots;

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) { return text.rfind(prefix, 0) == 0; }

// Waits until the control's text is no longer `old`; the new text, or empty on a time-out.
std::wstring WaitForChange(const ProgramDriver& program, HWND control, const std::wstring& old, int timeoutMs = 5000) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        const std::wstring now = program.text(control);
        if (now != old) return now;
        Sleep(100);
    }
    return {};
}

// The number between `prefix` and the next non-digit.
long NumberAfter(const std::wstring& text, const std::wstring& prefix) {
    const auto at = text.find(prefix);
    if (at == std::wstring::npos) return -1;
    return std::wcstol(text.c_str() + at + prefix.size(), nullptr, 10);
}

LRESULT Ask(HWND control, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, message, w, l, SMTO_BLOCK, 5000, &result);
    return static_cast<LRESULT>(result);
}

// A click on a list box item, as the mouse gives it.
void ClickListItem(ProgramDriver& program, HWND list, int index) {
    RECT item{};
    Ask(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    program.settle(500);
}

std::wstring ListItem(HWND list, int index) {
    wchar_t buffer[512]{};
    if (Ask(list, LB_GETTEXTLEN, index) >= 512) return {};
    Ask(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

}  // namespace

TEST(SysInfoEndToEnd, GaugesTickEverySecondAndKeepTickingWhenHidden) {
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 0);
    HWND tabs = program.control("高级选择夹2");
    HWND cpuText = program.control("CPU信息标签");
    HWND cpuUse = program.control("CPU使用");
    HWND memoryText = program.control("内存标签");
    HWND memoryBar = program.control("内存进度");
    ASSERT_TRUE(cpuText && cpuUse && memoryText && memoryBar);
    EXPECT_EQ(cc::Narrow(program.text(cpuText)), "系统扫描中...");
    EXPECT_EQ(cc::Narrow(program.text(memoryText)), "扫描中...");

    program.clickTab(tabs, 1);
    const std::wstring first = WaitForChange(program, cpuText, cc::Widen("系统扫描中..."));
    EXPECT_TRUE(StartsWith(first, cc::Widen("\r\n 制造商 …………"))) << cc::Narrow(first);
    EXPECT_NE(first.find(cc::Widen("\r\n 数据宽度 ………64 位")), std::wstring::npos) << cc::Narrow(first);
    const std::wstring usage = program.text(cpuUse);
    ASSERT_TRUE(StartsWith(usage, cc::Widen(" 占用… "))) << cc::Narrow(usage);
    const long load = NumberAfter(usage, cc::Widen(" 占用… "));
    EXPECT_GE(load, 0);
    EXPECT_LE(load, 100);
    EXPECT_EQ(usage.substr(usage.size() - 2), L" %");
    EXPECT_GT(program.screenshot(L"sysinfo_cpu_ticking"), 16);

    program.clickTab(tabs, 5);
    const std::wstring memory = WaitForChange(program, memoryText, cc::Widen("扫描中..."));
    ASSERT_TRUE(StartsWith(memory, cc::Widen("\r\n内存总量："))) << cc::Narrow(memory);
    const long total = NumberAfter(memory, cc::Widen("内存总量："));
    const long available = NumberAfter(memory, cc::Widen("可用内存："));
    const long used = NumberAfter(memory, cc::Widen("已使用内存："));
    EXPECT_GT(total, 0);
    EXPECT_EQ(used, total - available);
    EXPECT_EQ(Ask(memoryBar, PBM_GETRANGE, FALSE, 0), total);
    const LRESULT position = Ask(memoryBar, PBM_GETPOS);
    EXPECT_GE(position, 0);
    EXPECT_LE(position, total);
    EXPECT_GT(program.screenshot(L"sysinfo_memory_ticking"), 16);

    // Both pages hidden now: overwrite their labels and see the next ticks rewrite them.
    program.clickTab(tabs, 0);
    SendMessageW(cpuText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"marker"));
    SendMessageW(memoryText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"marker"));
    const std::wstring cpuAgain = WaitForChange(program, cpuText, L"marker", 3000);
    const std::wstring memoryAgain = WaitForChange(program, memoryText, L"marker", 3000);
    EXPECT_TRUE(StartsWith(cpuAgain, cc::Widen("\r\n 制造商 …………"))) << cc::Narrow(cpuAgain);
    EXPECT_TRUE(StartsWith(memoryAgain, cc::Widen("\r\n内存总量："))) << cc::Narrow(memoryAgain);
    // And once more: a second tick, not a single late one.
    SendMessageW(cpuText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"marker"));
    EXPECT_FALSE(WaitForChange(program, cpuText, L"marker", 3000).empty());
    EXPECT_EQ(program.closeAndWait(), 0);
}

TEST(SysInfoEndToEnd, InformationPagesAreFilledWhenOpened) {
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 0);
    HWND tabs = program.control("高级选择夹2");

    program.clickTab(tabs, 2);
    const std::wstring board = program.text(program.control("主版信息标签"));
    EXPECT_TRUE(StartsWith(board, cc::Widen("\r\n 名称 :"))) << cc::Narrow(board);
    EXPECT_NE(board.find(cc::Widen("\r\n OEM信息 :")), std::wstring::npos);
    EXPECT_GT(program.screenshot(L"sysinfo_board"), 16);

    program.clickTab(tabs, 3);
    HWND disks = program.control("列表框1");
    const long diskCount = static_cast<long>(Ask(disks, LB_GETCOUNT));
    EXPECT_EQ(cc::Narrow(program.text(program.control("分组框2"))), "物理硬盘(" + std::to_string(diskCount) + ")个");
    if (diskCount > 0) {
        ClickListItem(program, disks, 0);
        const std::wstring details = program.text(program.control("标签3"));
        EXPECT_TRUE(StartsWith(details, cc::Widen("\r\n 容量:"))) << cc::Narrow(details);
    }
    EXPECT_GT(program.screenshot(L"sysinfo_disks"), 16);

    program.clickTab(tabs, 4);
    HWND adapters = program.control("列表框2");
    const long adapterCount = static_cast<long>(Ask(adapters, LB_GETCOUNT));
    EXPECT_GT(adapterCount, 0) << "the machine has at least one network interface";
    EXPECT_EQ(cc::Narrow(program.text(program.control("分组框3"))), "物理网卡(" + std::to_string(adapterCount) + ")个");
    if (adapterCount > 0) {
        const int last = static_cast<int>(adapterCount - 1);
        ClickListItem(program, adapters, last);
        const std::wstring details = program.text(program.control("标签4"));
        EXPECT_TRUE(StartsWith(details, cc::Widen("\r\n 网卡名称:") + ListItem(adapters, last) + L"\r\n\r\n IP地址:"))
            << cc::Narrow(details);
        EXPECT_NE(details.find(cc::Widen("\r\n 物理地址:")), std::wstring::npos);
    }
    EXPECT_GT(program.screenshot(L"sysinfo_adapters"), 16);

    program.clickTab(tabs, 6);
    const std::wstring os = program.text(program.control("标签5"));
    EXPECT_TRUE(StartsWith(os, cc::Widen("\r\n 操作系统:"))) << cc::Narrow(os);
    EXPECT_NE(os.find(cc::Widen("\r\n 系统安装目录:")), std::wstring::npos);
    EXPECT_GT(NumberAfter(os, cc::Widen("\r\n 建立号码:")), 0);
    EXPECT_GT(program.screenshot(L"sysinfo_system"), 16);

    // The home page changes nothing.
    program.clickTab(tabs, 0);
    EXPECT_EQ(program.text(program.control("标签5")), os);
    EXPECT_EQ(program.closeAndWait(), 0);
}
