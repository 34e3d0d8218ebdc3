// The real window under Wine: every page of the three tab controls drawn as
// designed at 144 and 96 DPI, with screenshots, and the system information
// the pages show.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

std::wstring cc::test::gProgram, cc::test::gScreenshots;

namespace {

RECT Rect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
bool White(POINT screen) { return ScreenPixel(screen) == RGB(255, 255, 255); }

// The label's text once it is no longer `old` (empty on a time-out).
std::wstring Changed(const ProgramDriver& program, HWND label, const std::wstring& old) {
    std::wstring now;
    return WaitFor([&] { return (now = program.text(label)) != old; }, 4000) ? now : L"";
}

bool StartsWith(const std::wstring& text, const char* prefix) { return text.rfind(cc::Widen(prefix), 0) == 0; }

// Opens the system-information pages at 96 DPI and checks what the real queries filled in.
void CheckSystemInformation(ProgramDriver& program, int tab) {
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
            SetRegistryValue(key.first, key.second, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ProgramDriver program(gProgram, gScreenshots);
        ASSERT_TRUE(program.start()) << "no main window at " << dpi << " DPI";
        HWND window = program.window();
        // The design is in pixels: the DPI-unaware window keeps them (Windows
        // scales it as a whole; Wine draws it as it is, with its own larger metrics).
        EXPECT_TRUE(Same(ScreenRect(window), Rect(50, 50, 584, 388))) << dpi;

        // At the start the pages of tab 0 show. The white strips hide the top,
        // left and right border lines of 高级选择夹2, whose pages reach its top
        // edge: 图片框7 is clipped there by exactly 4 pixels.
        HWND outer = program.control("高级选择夹1"), info = program.control("高级选择夹2"), junk = program.control("高级选择夹3");
        const RECT inner = ScreenRect(info), left = ScreenRect(outer);
        for (int d : {0, 1}) {   // a border drawn two pixels wide shows in the second
            EXPECT_TRUE(White({(inner.left + inner.right) / 2, inner.top + d})) << d;
            EXPECT_TRUE(White({inner.left + d, inner.top + 100})) << d;
            EXPECT_TRUE(White({inner.right - 1 - d, inner.top + 100})) << d;
        }
        HWND icon = program.control("图片框7");
        EXPECT_EQ(ScreenRect(icon).top, inner.top - 4);
        EXPECT_EQ(ScreenRect(GetParent(icon)).top, inner.top);
        // Both strips drawn: the current tab's icon on the left, a bottom tab's icon.
        EXPECT_FALSE(White({left.left + 20, left.top + 28}));
        EXPECT_FALSE(White({inner.left + 20, inner.bottom - 20}));
        for (auto [tabs, count, name] : {std::tuple{outer, 6, L"outer"}, {info, 7, L"sysinfo"}, {junk, 5, L"junk"}}) {
            if (tabs == junk) program.clickTab(outer, 3);
            for (int tab = count - 1; tab >= 0; --tab) {   // backwards, so that tab 0 is a real change too
                program.clickTab(tabs, tab);
                if (dpi == 96 && tabs == info) CheckSystemInformation(program, tab);
                EXPECT_TRUE(program.screenshot(std::to_wstring(dpi) + L"dpi_" + name + std::to_wstring(tab)));
            }
        }
        program.clickTab(outer, 0);
        // A real double-click on the title bar maximises, though each press
        // hands the mouse to the system's move tracking.
        SetForegroundWindow(window);
        ProgramDriver::mouseAt({250, 65}, 2);
        program.settle();
        EXPECT_TRUE(Same(ScreenRect(window), Rect(-6, -4, GetSystemMetrics(SM_CXSCREEN) + 12, GetSystemMetrics(SM_CYSCREEN) - 22)));
        EXPECT_EQ(program.closeAndWait(), 0);
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);   // takes its own flags out
    if (argc < 3) return fprintf(stderr, "usage: cc_e2e PROGRAM.exe SCREENSHOT_FOLDER\n"), 2;
    gProgram = cc::Widen(argv[1]);   // the build's paths, plain ASCII
    gScreenshots = cc::Widen(argv[2]);
    return RUN_ALL_TESTS();
}
