// The real window under Wine: every page of the three tab controls drawn as
// designed at 96, 120, 144 and 192 DPI, every control at the design scaled
// to the DPI, with screenshots; a move to a monitor of another DPI; and the
// system information the pages show.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"
#include "tests/windows/TestFiles.h"
#include "ui/ControlModel.h"
#include "ui/Frame.h"

using namespace cc::test;

std::wstring cc::test::gProgram, cc::test::gScreenshots;

namespace {

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

// The design length at the DPI: exactly at 96, else within a pixel.
double Slack(int dpi) { return dpi == 96 ? 0 : 1; }
bool Near(double pixels, int design, int dpi) { return std::abs(pixels - design * dpi / 96.0) <= Slack(dpi); }

// Every control at its design rectangle times dpi/96 in its parent's area
// (for a page's control, the whole tab control), with the frame laid out for
// the design window.
void CheckLayout(const ProgramDriver& program, int dpi) {
    cc::ControlModel design;
    cc::LayOutFrame(design, 584, 388);
    for (const cc::ControlSpec& spec : cc::Controls()) {
        const std::string name(spec.name), parent(spec.parent);
        const RECT mine = ScreenRect(program.control(name.c_str()));
        const RECT theirs = ScreenRect(parent.empty() ? program.window() : program.control(parent.c_str()));
        const cc::Rect d = design.rect(spec.name);
        const bool combo = spec.kind == cc::ControlKind::ComboBox;   // its window reaches down for its list
        EXPECT_TRUE(Near(mine.left - theirs.left, d.left, dpi) && Near(mine.top - theirs.top, d.top, dpi) &&
                    Near(mine.right - theirs.left, d.left + d.width, dpi) &&
                    (combo || Near(mine.bottom - theirs.top, d.top + d.height, dpi)))
            << dpi << " DPI: " << name << " at " << mine.left - theirs.left << ", " << mine.top - theirs.top << ", "
            << mine.right - mine.left << " x " << mine.bottom - mine.top;
        if (spec.page >= 0) {   // its page covers the tab control to its right edge
            EXPECT_EQ(ScreenRect(GetParent(program.control(name.c_str()))).right, theirs.right) << dpi << " DPI: " << name;
        }
    }
}

// Where each part of the frame is, in the design window: what the mouse
// finds there at the DPI.
void CheckFrameHitAreas(const ProgramDriver& program, int dpi) {
    static const std::pair<const char*, POINT> kParts[] = {
        {"图片框_上左", {2, 2}}, {"图片框_上中", {300, 15}}, {"图片框_上右", {581, 2}}, {"图片框_中左", {1, 200}},
        {"图片框_中右", {583, 200}}, {"图片框_下左", {2, 384}}, {"图片框_下中", {300, 387}}, {"图片框_下右", {581, 384}},
        {"图形按钮_最小化", {528, 13}}, {"图形按钮_最大化", {547, 13}}, {"图形按钮_关闭", {566, 13}}};
    const RECT window = ScreenRect(program.window());
    for (auto [name, at] : kParts) {
        POINT screen{window.left + static_cast<LONG>((at.x + 0.5) * dpi / 96), window.top + static_cast<LONG>((at.y + 0.5) * dpi / 96)};
        EXPECT_EQ(WindowFromPoint(screen), program.control(name)) << dpi << " DPI: " << name;
    }
}

}  // namespace

// One run per DPI over every page of the three tab controls, with screenshots
// at 96, 144 and 192 DPI.
TEST(WindowEndToEnd, EveryPageIsDrawnAsDesignedAtEveryDpi) {
    for (DWORD dpi : {192u, 144u, 120u, 96u}) {   // 96 last: the prefix stays as it was
        for (auto key : {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"}, std::pair{HKEY_CURRENT_CONFIG, L"Software\\Fonts"}})
            SetRegistryValue(key.first, key.second, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ProgramDriver program(gProgram, gScreenshots);
        ASSERT_TRUE(program.start()) << "no main window at " << dpi << " DPI";
        HWND window = program.window();
        auto at = [dpi](int design) { return MulDiv(design, static_cast<int>(dpi), 96); };
        const RECT placed = ScreenRect(window);
        EXPECT_TRUE(Near(placed.left, 50, dpi) && Near(placed.top, 50, dpi) && Near(placed.right - placed.left, 584, dpi) &&
                    Near(placed.bottom - placed.top, 388, dpi)) << dpi;
        CheckLayout(program, dpi);
        CheckFrameHitAreas(program, dpi);

        // At the start the pages of tab 0 show. The white strips hide the top,
        // left and right border lines of 高级选择夹2, whose pages reach its top
        // edge: 图片框7 is clipped there by exactly 4 design pixels.
        HWND outer = program.control("高级选择夹1"), info = program.control("高级选择夹2"), junk = program.control("高级选择夹3");
        const RECT inner = ScreenRect(info), left = ScreenRect(outer);
        for (int d : {0, 1}) {   // a border drawn two pixels wide shows in the second
            EXPECT_TRUE(White({(inner.left + inner.right) / 2, inner.top + d})) << d;
            EXPECT_TRUE(White({inner.left + d, inner.top + at(100)})) << d;
            EXPECT_TRUE(White({inner.right - 1 - d, inner.top + at(100)})) << d;
        }
        HWND icon = program.control("图片框7");
        EXPECT_TRUE(Near(inner.top - ScreenRect(icon).top, 4, dpi)) << dpi;
        EXPECT_EQ(ScreenRect(GetParent(icon)).top, inner.top);
        // Both strips drawn: the current tab's icon on the left, a bottom tab's icon.
        EXPECT_FALSE(White({left.left + at(20), left.top + at(28)}));
        EXPECT_FALSE(White({inner.left + at(20), inner.bottom - at(20)}));
        for (auto [tabs, count, name] : {std::tuple{outer, 6, L"outer"}, {info, 7, L"sysinfo"}, {junk, 5, L"junk"}}) {
            if (dpi == 120) break;   // its layout is checked above; its look is between 96 and 144
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
        ProgramDriver::mouseAt({placed.left + at(200), placed.top + at(15)}, 2);
        program.settle();
        const RECT maximised = ScreenRect(window);
        const double screenWidth = GetSystemMetrics(SM_CXSCREEN) * 96.0 / dpi, screenHeight = GetSystemMetrics(SM_CYSCREEN) * 96.0 / dpi;
        EXPECT_TRUE(Near(maximised.left, -6, dpi) && Near(maximised.top, -4, dpi) &&
                    std::abs(maximised.right - maximised.left - (screenWidth + 12) * dpi / 96) <= 1.5 * Slack(dpi) &&
                    std::abs(maximised.bottom - maximised.top - (screenHeight - 22) * dpi / 96) <= 1.5 * Slack(dpi)) << dpi;
        EXPECT_EQ(program.closeAndWait(), 0);
    }
}

// Moved to a monitor of another DPI, the window takes the rectangle Windows
// suggests and lays every control out for it; the lists keep their items,
// marks and scroll position, and still answer a click on a box.
TEST(WindowEndToEnd, AMoveToAMonitorOfAnotherDpiLaysEverythingOutAgainAndKeepsTheLists) {
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    HWND patterns = program.control("选择列表框3");
    program.clickTab(program.control("高级选择夹1"), 3);
    program.clickTab(program.control("高级选择夹3"), 2);
    for (int item : {1, 5, 36}) program.clickCheckBox(patterns, item);   // the last scrolls the list
    LRESULT top = SendMessageW(patterns, LVM_GETTOPINDEX, 0, 0);
    ASSERT_GT(top, 0);
    for (int dpi : {192, 120}) {
        program.sendDpiChanged(dpi, RECT{100, 80, 100 + 584 * dpi / 96, 80 + 388 * dpi / 96});
        program.settle();
        const RECT placed = ScreenRect(program.window());
        EXPECT_TRUE(std::abs(placed.left - 100) <= 1 && std::abs(placed.top - 80) <= 1 &&
                    Near(placed.right - placed.left, 584, dpi) && Near(placed.bottom - placed.top, 388, dpi)) << dpi;
        CheckLayout(program, dpi);
        CheckFrameHitAreas(program, dpi);
        EXPECT_EQ(program.listCount(patterns), 37);
        for (int i = 0; i < 37; ++i) EXPECT_EQ(program.listChecked(patterns, i), i == 1 || i == 5 || i == 36) << i;
        // The same first row, as far as the list's end allows with its new row height.
        const LRESULT first = SendMessageW(patterns, LVM_GETTOPINDEX, 0, 0);
        EXPECT_EQ(first, std::min(top, 37 - SendMessageW(patterns, LVM_GETCOUNTPERPAGE, 0, 0))) << dpi;
        top = first;
    }
    EXPECT_TRUE(program.screenshot(L"dpichange_120dpi_junk2"));
    program.clickCheckBox(patterns, 2);
    EXPECT_TRUE(program.listChecked(patterns, 2));
    EXPECT_EQ(program.closeAndWait(), 0);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);   // takes its own flags out
    if (argc < 3) return fprintf(stderr, "usage: cc_e2e PROGRAM.exe SCREENSHOT_FOLDER\n"), 2;
    gProgram = cc::Widen(argv[1]);   // the build's paths, plain ASCII
    gScreenshots = cc::Widen(argv[2]);
    return RUN_ALL_TESTS();
}
