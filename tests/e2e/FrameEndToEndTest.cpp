// The frame of the real window under Wine: its buttons, the title-bar
// double-click, sizing by the bottom-right corner with real input, and close.
#include <gtest/gtest.h>

#include <windows.h>

#include "ProgramDriver.h"
#include "ui/Catalogue.h"

using cc::test::ProgramDriver;

extern std::wstring gProgram;
extern std::wstring gScreenshots;

namespace {

RECT Rect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
    if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << "," << actual.top << ")-(" << actual.right << ","
                                         << actual.bottom << ") instead of (" << expected.left << "," << expected.top
                                         << ")-(" << expected.right << "," << expected.bottom << ")";
}

// Where a child window lies, in its top-level window's coordinates.
RECT InWindow(HWND child, HWND window) {
    RECT r = ProgramDriver::screenRect(child);
    RECT w = ProgramDriver::screenRect(window);
    OffsetRect(&r, -w.left, -w.top);
    return r;
}

}  // namespace

TEST(FrameEndToEnd, ButtonsDoubleClickAndCornerSizing) {
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    HWND window = program.window();
    const RECT design = Rect(50, 50, 584, 388);
    ASSERT_TRUE(SameRect(ProgramDriver::screenRect(window), design));
    // The first showing laid the frame out for the design size.
    EXPECT_TRUE(SameRect(InWindow(program.control("图形按钮_关闭"), window), Rect(557, 4, 19, 19)));
    EXPECT_TRUE(SameRect(InWindow(program.control("图片框_下右"), window), Rect(578, 381, 6, 7)));

    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    program.clickControl(program.control("图形按钮_最大化"));
    EXPECT_TRUE(SameRect(ProgramDriver::screenRect(window), Rect(-6, -4, sw + 12, sh - 22)));
    EXPECT_TRUE(SameRect(InWindow(program.control("图形按钮_关闭"), window), Rect(sw + 12 - 27, 4, 19, 19)));
    EXPECT_FALSE(IsZoomed(window));   // the program's own maximise, not the system's
    program.screenshot(L"frame_maximised");
    program.clickControl(program.control("图形按钮_最大化"));
    EXPECT_TRUE(SameRect(ProgramDriver::screenRect(window), design));

    // A double-click on the title bar, with real input: each press hands the
    // mouse to the system's move tracking, and the pair still maximises.
    SetForegroundWindow(window);
    POINT title{50 + 200, 50 + 15};
    ProgramDriver::mouseMoveTo(title);
    for (int click = 0; click < 2; ++click) {
        ProgramDriver::mouseButton(true);
        ProgramDriver::mouseButton(false);
    }
    program.settle();
    EXPECT_TRUE(SameRect(ProgramDriver::screenRect(window), Rect(-6, -4, sw + 12, sh - 22)));
    program.clickControl(program.control("图形按钮_最大化"));
    ASSERT_TRUE(SameRect(ProgramDriver::screenRect(window), design));

    // Drag the bottom-right corner 100 right and 60 down.
    POINT corner{50 + 584 - 3, 50 + 388 - 3};
    ProgramDriver::mouseMoveTo(corner);
    ProgramDriver::mouseButton(true);
    for (int step = 1; step <= 10; ++step) ProgramDriver::mouseMoveTo({corner.x + step * 10, corner.y + step * 6});
    ProgramDriver::mouseButton(false);
    program.settle();
    EXPECT_TRUE(SameRect(ProgramDriver::screenRect(window), Rect(50, 50, 684, 448)));
    EXPECT_TRUE(SameRect(InWindow(program.control("图片框_下右"), window), Rect(678, 441, 6, 7)));
    EXPECT_TRUE(SameRect(InWindow(program.control("图片框_中右"), window), Rect(682, 30, 2, 411)));
    EXPECT_TRUE(SameRect(InWindow(program.control("图形按钮_关闭"), window), Rect(657, 4, 19, 19)));
    // The pages keep their design size.
    EXPECT_TRUE(SameRect(InWindow(program.control("高级选择夹1"), window), Rect(5, 38, 568, 344)));
    program.screenshot(L"frame_resized");

    program.clickControl(program.control("图形按钮_最小化"));
    EXPECT_TRUE(IsIconic(window));
    PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    program.settle();
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(SameRect(ProgramDriver::screenRect(window), Rect(50, 50, 684, 448)));

    // The close button ends the program with exit code 0.
    HWND close = program.control("图形按钮_关闭");
    PostMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(program.waitForExit(), 0);
}
