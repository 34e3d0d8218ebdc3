// The real window under Wine: every page of the three tab controls drawn as designed at 96, 120, 144 and
// 192 DPI, every control at the design scaled to the DPI, with screenshots; a move to a monitor of another DPI.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ProgramDriver.h"
#include "tests/windows/TestFiles.h"
#include "tests/support/ControlModel.h"
#include "ui/Frame.h"

using namespace cc::test;

namespace {

bool White(POINT screen) { return ScreenPixel(screen) == RGB(255, 255, 255); }

// The design length at the DPI: exactly at 96, else within a pixel.
double Slack(int dpi) { return dpi == 96 ? 0 : 1; }
bool Near(double pixels, int design, int dpi) { return std::abs(pixels - design * dpi / 96.0) <= Slack(dpi); }

// The window at its place and size, every control at its design rectangle times dpi/96 in its parent's
// area (for a page's control, the whole tab control, which its page covers to the right edge), with the
// frame laid out for the design window.
void CheckLayout(const ProgramDriver& program, int dpi, POINT at) {
    const RECT window = ScreenRect(program.window());
    EXPECT_TRUE(Near(window.left, at.x, dpi) && Near(window.top, at.y, dpi) && Near(window.right - window.left, 584, dpi) &&
                Near(window.bottom - window.top, 388, dpi)) << dpi;
    cc::ControlModel design;
    cc::LayOutFrame(design, 584, 388);
    for (const cc::ControlSpec& spec : cc::Controls()) {
        const std::string name(spec.name), parent(spec.parent);
        const RECT mine = ScreenRect(program.control(name.c_str()));
        const RECT theirs = ScreenRect(parent.empty() ? program.window() : program.control(parent.c_str()));
        const cc::Rect d = design.rect(spec.name);
        const bool combo = spec.kind == cc::ControlKind::ComboBox;   // its window reaches down for its list
        EXPECT_TRUE(Near(mine.left - theirs.left, d.left, dpi) && Near(mine.top - theirs.top, d.top, dpi) &&
                    Near(mine.right - theirs.left, d.left + d.width, dpi) && (combo || Near(mine.bottom - theirs.top, d.top + d.height, dpi)))
            << dpi << " DPI: " << name << " at " << mine.left - theirs.left << ", " << mine.top - theirs.top;
        if (spec.page >= 0) EXPECT_EQ(ScreenRect(GetParent(program.control(name.c_str()))).right, theirs.right) << dpi << " DPI: " << name;
    }
}

// After a click on a tab: it is the current one, and its page shows (where it holds a control).
bool Opened(const ProgramDriver& program, const char* tabs, int tab) {
    if (SendMessageW(program.control(tabs), TCM_GETCURSEL, 0, 0) != tab) return false;
    for (const cc::ControlSpec& spec : cc::Controls())
        if (spec.parent == tabs && spec.page == tab) return IsWindowVisible(GetParent(program.control(std::string(spec.name).c_str()))) != FALSE;
    return true;
}

}  // namespace

// One run per DPI over every page of the three tab controls, with screenshots at 96, 144 and 192 DPI.
TEST(WindowEndToEnd, EveryPageIsDrawnAsDesignedAtEveryDpi) {
    for (DWORD dpi : {192u, 144u, 120u, 96u}) {   // 96 last: the prefix stays as it was
        for (auto key : {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"}, std::pair{HKEY_CURRENT_CONFIG, L"Software\\Fonts"}})
            SetRegistryValue(key.first, key.second, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ProgramDriver program;
        ASSERT_TRUE(program.start()) << "no main window at " << dpi << " DPI";
        auto at = [dpi](int design) { return MulDiv(design, static_cast<int>(dpi), 96); };
        CheckLayout(program, dpi, {50, 50});
        // At the start the pages of tab 0 show. The white strips hide the top, left and right border lines
        // of 高级选择夹2, whose pages reach its top edge: 图片框7 is clipped there by exactly 4 design pixels.
        HWND outer = program.control("高级选择夹1"), info = program.control("高级选择夹2"), junk = program.control("高级选择夹3");
        const RECT inner = ScreenRect(info), left = ScreenRect(outer), placed = ScreenRect(program.window());
        for (int d : {0, 1})   // a border drawn two pixels wide shows in the second
            EXPECT_TRUE(White({(inner.left + inner.right) / 2, inner.top + d}) && White({inner.left + d, inner.top + at(100)}) &&
                        White({inner.right - 1 - d, inner.top + at(100)})) << d;
        EXPECT_EQ(ScreenRect(GetParent(program.control("图片框7"))).top, inner.top);   // its design top is -4
        // Both strips drawn: the current tab's icon on the left, a bottom tab's icon.
        EXPECT_FALSE(White({left.left + at(20), left.top + at(28)}) || White({inner.left + at(20), inner.bottom - at(20)}));
        for (auto [strip, count, name] : {std::tuple{"高级选择夹1", 6, L"outer"}, {"高级选择夹2", 7, L"sysinfo"}, {"高级选择夹3", 5, L"junk"}}) {
            if (dpi == 120) break;   // its layout is checked above; its look is between 96 and 144
            HWND tabs = program.control(strip);
            if (tabs == junk) program.clickTab(outer, 3);
            for (int tab = count - 1; tab >= 0; --tab) {   // backwards, so that tab 0 is a real change too
                program.clickTab(tabs, tab);
                EXPECT_TRUE(Opened(program, strip, tab)) << name << tab;
                EXPECT_TRUE(program.screenshot(std::to_wstring(dpi) + L"dpi_" + name + std::to_wstring(tab)));
            }
        }
        program.clickTab(outer, 0);
        // A real double-click on the title bar maximises, though each press hands the mouse to the system's move tracking.
        SetForegroundWindow(program.window()), ProgramDriver::mouseAt({placed.left + at(200), placed.top + at(15)}, 2), program.settle();
        const RECT m = ScreenRect(program.window());   // 6 and 4 beyond the screen's edges, 26 short of its bottom
        const double width = GetSystemMetrics(SM_CXSCREEN) + 12.0 * dpi / 96, height = GetSystemMetrics(SM_CYSCREEN) - 22.0 * dpi / 96;
        EXPECT_TRUE(Near(m.left, -6, dpi) && Near(m.top, -4, dpi) && std::abs(m.right - m.left - width) <= 1.5 * Slack(dpi) &&
                    std::abs(m.bottom - m.top - height) <= 1.5 * Slack(dpi)) << dpi;
        EXPECT_EQ(program.closeAndWait(), 0);
    }
}

// Moved to a monitor of another DPI, the window takes the rectangle Windows suggests and lays every control
// out for it; the lists keep their items, marks and scroll position, and still answer a click on a box.
TEST(WindowEndToEnd, AMoveToAMonitorOfAnotherDpiLaysEverythingOutAgainAndKeepsTheLists) {
    ProgramDriver program;
    ASSERT_TRUE(program.start());
    HWND patterns = program.control("选择列表框3");
    program.openPage("高级选择夹1", 3), program.openPage("高级选择夹3", 2);
    std::vector<bool> marks(37);
    for (int item : {1, 5, 36}) program.clickCheckBox(patterns, item), marks[item] = true;   // the last scrolls the list
    LRESULT top = SendMessageW(patterns, LVM_GETTOPINDEX, 0, 0);
    ASSERT_GT(top, 0);
    for (int dpi : {192, 120}) {
        // What Windows sends on a move to a monitor of that DPI: WM_DPICHANGED with the rectangle it suggests.
        program.remoteRect(program.window(), 0x02E0, MAKEWPARAM(dpi, dpi), {100, 80, 100 + 584 * dpi / 96, 80 + 388 * dpi / 96});
        program.settle();
        CheckLayout(program, dpi, {100 * 96 / dpi, 80 * 96 / dpi});
        EXPECT_EQ(program.checks(patterns), marks) << dpi;
        // The same first row, as far as the list's end allows with its new row height.
        const LRESULT first = SendMessageW(patterns, LVM_GETTOPINDEX, 0, 0);
        EXPECT_EQ(first, std::min(top, 37 - SendMessageW(patterns, LVM_GETCOUNTPERPAGE, 0, 0))) << dpi;
        top = first;
    }
    program.clickCheckBox(patterns, 2), marks[2] = true;
    EXPECT_EQ(program.checks(patterns), marks);
    EXPECT_EQ(program.closeAndWait(), 0);
}

int main(int argc, char** argv) {
    // COM for the whole run: shortcuts, screen readers' objects, and the screenshots' encoder, loaded once.
    const cc::ComApartment com;
    ::testing::InitGoogleTest(&argc, argv);   // takes its own flags out
    if (argc < 3) return fprintf(stderr, "usage: cc_e2e PROGRAM.exe SCREENSHOT_FOLDER\n"), 2;
    gProgram = cc::Widen(argv[1]), gScreenshots = cc::Widen(argv[2]);   // the build's paths, plain ASCII
    return RUN_ALL_TESTS();
}
