// The real window under Wine: every page of the three tab controls drawn as
// designed at 144 and 96 DPI, with screenshots, the system information the
// pages show, and the frame worked with real input.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"

using namespace cc::test;

std::wstring gProgram;
std::wstring gScreenshots;

namespace {

RECT Rect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
bool White(POINT screen) { return ProgramDriver::pixel(screen) == RGB(255, 255, 255); }

// A child's rectangle in the main window's coordinates.
RECT InWindow(HWND child, HWND window) {
    RECT r = ScreenRect(child), w = ScreenRect(window);
    OffsetRect(&r, -w.left, -w.top);
    return r;
}

// The label's text once it is no longer `old` (empty on a time-out).
std::wstring Changed(const ProgramDriver& program, HWND label, const std::wstring& old) {
    for (int waited = 0; waited < 4000; waited += 100, Sleep(100))
        if (std::wstring now = program.text(label); now != old) return now;
    return {};
}

bool StartsWith(const std::wstring& text, const char* prefix) { return text.rfind(cc::Widen(prefix), 0) == 0; }

// Opens the system-information pages at 96 DPI and checks what the real queries filled in.
void CheckSystemInformation(ProgramDriver& program, HWND tabs, int tab) {
    static const char* const kLabel[] = {nullptr, "CPU信息标签", "主版信息标签", "分组框2", "分组框3", "内存标签", "标签5"};
    static const char* const kStart[] = {nullptr, "\r\n 制造商 …………", "\r\n 名称 :", "物理硬盘(", "物理网卡(", "\r\n内存总量：", "\r\n 操作系统:"};
    if (!kLabel[tab]) return;
    HWND label = program.control(kLabel[tab]);
    const std::wstring text = tab == 1 || tab == 5 ? Changed(program, label, program.text(label)) : program.text(label);
    EXPECT_TRUE(StartsWith(text, kStart[tab])) << tab << ": " << cc::Narrow(text);
}

}  // namespace

// One run per DPI over every page of the three tab controls, with screenshots.
TEST(WindowEndToEnd, EveryPageIsDrawnAsDesignedAt144And96Dpi) {
    for (DWORD dpi : {144u, 96u}) {   // 96 last: the prefix stays as it was
        for (auto key : {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"}, std::pair{HKEY_CURRENT_CONFIG, L"Software\\Fonts"}})
            RegSetKeyValueW(key.first, key.second, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ProgramDriver program(gProgram, gScreenshots);
        ASSERT_TRUE(program.start()) << "no main window at " << dpi << " DPI";
        HWND window = program.window();
        // The design is in pixels: Windows scales the DPI-unaware window as a whole.
        auto context = reinterpret_cast<HANDLE(WINAPI*)(HWND)>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetWindowDpiAwarenessContext"));
        auto awareness = reinterpret_cast<int(WINAPI*)(HANDLE)>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetAwarenessFromDpiAwarenessContext"));
        ASSERT_TRUE(context && awareness);
        EXPECT_EQ(awareness(context(window)), 0) << "DPI-unaware";
        EXPECT_TRUE(Same(ScreenRect(window), Rect(50, 50, 584, 388))) << dpi;
        EXPECT_TRUE(Same(InWindow(program.control("高级选择夹1"), window), Rect(5, 38, 568, 344))) << dpi;

        const std::wstring prefix = std::to_wstring(dpi) + L"dpi_";
        HWND outer = program.control("高级选择夹1"), info = program.control("高级选择夹2"), junk = program.control("高级选择夹3");
        for (int tab = 5; tab >= 0; --tab) {   // backwards, so that tab 0 is a real change too
            program.clickTab(outer, tab);
            EXPECT_TRUE(program.screenshot(prefix + L"outer" + std::to_wstring(tab)));
        }
        for (int tab = 6; tab >= 0; --tab) {
            program.clickTab(info, tab);
            if (dpi == 96) CheckSystemInformation(program, info, tab);
            EXPECT_TRUE(program.screenshot(prefix + L"sysinfo" + std::to_wstring(tab)));
        }
        // The white strips hide the top, left and right border lines of 高级选择夹2,
        // whose pages reach its top edge: 图片框7 is clipped there by exactly 4 pixels.
        const RECT inner = ScreenRect(info), left = ScreenRect(outer);
        EXPECT_TRUE(White({(inner.left + inner.right) / 2, inner.top}));
        EXPECT_TRUE(White({inner.left, inner.top + 100}));
        EXPECT_TRUE(White({inner.right - 1, inner.top + 100}));
        HWND icon = program.control("图片框7");
        EXPECT_EQ(ScreenRect(icon).top, inner.top - 4);
        EXPECT_EQ(ScreenRect(GetParent(icon)).top, inner.top);
        // Both strips drawn: the current tab's icon on the left, a bottom tab's icon.
        EXPECT_FALSE(White({left.left + 20, left.top + 28}));
        EXPECT_FALSE(White({inner.left + 20, inner.bottom - 20}));
        // The gauges keep ticking while their pages are hidden.
        HWND cpu = program.control("CPU信息标签");
        SendMessageW(cpu, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"marker"));
        EXPECT_TRUE(StartsWith(Changed(program, cpu, L"marker"), "\r\n 制造商"));

        program.clickTab(outer, 3);
        for (int tab = 4; tab >= 0; --tab) {
            program.clickTab(junk, tab);
            EXPECT_TRUE(program.screenshot(prefix + L"junk" + std::to_wstring(tab)));
        }
        EXPECT_EQ(program.closeAndWait(), 0);
    }
}

TEST(WindowEndToEnd, FrameButtonsDoubleClickAndCornerSizing) {
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    HWND window = program.window();
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const RECT design = Rect(50, 50, 584, 388), maximised = Rect(-6, -4, sw + 12, sh - 22);
    EXPECT_TRUE(Same(InWindow(program.control("图形按钮_关闭"), window), Rect(557, 4, 19, 19)));
    program.clickControl(program.control("图形按钮_最大化"));
    EXPECT_TRUE(Same(ScreenRect(window), maximised));
    EXPECT_FALSE(IsZoomed(window));   // the program's own maximise, not the system's
    program.clickControl(program.control("图形按钮_最大化"));
    EXPECT_TRUE(Same(ScreenRect(window), design));
    // A real double-click on the title bar: each press hands the mouse to the
    // system's move tracking, and the pair still maximises.
    SetForegroundWindow(window);
    ProgramDriver::mouseAt({250, 65}, 2);
    program.settle();
    EXPECT_TRUE(Same(ScreenRect(window), maximised));
    program.clickControl(program.control("图形按钮_最大化"));
    ASSERT_TRUE(Same(ScreenRect(window), design));
    // Drag the bottom-right corner 100 right and 60 down.
    ProgramDriver::mouseAt({631, 435});
    ProgramDriver::mouseButton(true);
    for (int step = 1; step <= 10; ++step) ProgramDriver::mouseAt({631 + step * 10, 435 + step * 6});
    ProgramDriver::mouseButton(false);
    program.settle();
    EXPECT_TRUE(Same(ScreenRect(window), Rect(50, 50, 684, 448)));
    EXPECT_TRUE(Same(InWindow(program.control("图片框_下右"), window), Rect(678, 441, 6, 7)));
    EXPECT_TRUE(Same(InWindow(program.control("图片框_中右"), window), Rect(682, 30, 2, 411)));
    EXPECT_TRUE(Same(InWindow(program.control("高级选择夹1"), window), Rect(5, 38, 568, 344)));
    program.clickControl(program.control("图形按钮_最小化"));
    EXPECT_TRUE(IsIconic(window));
    PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    program.settle();
    EXPECT_TRUE(Same(ScreenRect(window), Rect(50, 50, 684, 448)));
    program.clickControl(program.control("图形按钮_关闭"), false);
    EXPECT_EQ(program.waitForExit(), 0);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> rest;   // after gtest's own flags: the program and the screenshot folder
    for (int i = 1; i < count; ++i)
        if (std::wstring(args[i]).rfind(L"--gtest", 0) != 0) rest.push_back(args[i]);
    LocalFree(args);
    if (rest.size() < 2) {
        fprintf(stderr, "usage: cc_e2e PROGRAM.exe SCREENSHOT_FOLDER\n");
        return 2;
    }
    gProgram = rest[0];
    gScreenshots = rest[1];
    return RUN_ALL_TESTS();
}
