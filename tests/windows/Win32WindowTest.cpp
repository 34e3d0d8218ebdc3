// The real window under Wine, worked through the control layer: a click on a
// checked list's box, and a close that arrives while a long handler pumps.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/e2e/WindowSearch.h"
#include "ui/win32/Win32Window.h"

using namespace cc;

namespace {

struct Win32WindowTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(window.create());
        window.show();
        window.processPendingMessages();
    }
    HWND child(std::string_view name) {
        int id = kFirstControlId + FindControl(name);
        return test::FindDescendant(window.handle(), [id](HWND hwnd) { return GetDlgCtrlID(hwnd) == id; });
    }
    Win32Window window{GetModuleHandleW(nullptr)};
};

}  // namespace

// What the pattern list's handler sees: the mark as the click left it.
TEST_F(Win32WindowTest, AClickOnABoxChangesTheMarkBeforeItemSelected) {
    std::vector<bool> seen;
    window.on("选择列表框3", Event::ItemSelected, [&] { seen.push_back(window.itemChecked("选择列表框3", 2)); });
    window.setCurrentTab("高级选择夹1", 3);
    window.setCurrentTab("高级选择夹3", 2);
    HWND list = child("选择列表框3");
    RECT row{LVIR_BOUNDS};
    SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    for (int click = 0; click < 2; ++click) {
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.left + 10, row.top + 5));
        SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(row.left + 10, row.top + 5));
        for (int i = 0; i < 3; ++i, Sleep(15)) window.processPendingMessages();
    }
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_EQ(window.currentItem("选择列表框3"), 2);
}

TEST_F(Win32WindowTest, ACloseInsideALongHandlerEndsTheLoopCleanly) {
    int foldersAfterClose = -1;
    window.on("扫描", Event::Clicked, [&] {
        for (int folder = 0; folder < 500 && !window.windowClosed(); ++folder, Sleep(1)) {
            window.setCaption("标签1", "folder " + std::to_string(folder));
            if (folder == 3) PostMessageW(window.handle(), WM_CLOSE, 0, 0);   // the frame's close button
            if (folder >= 3) ++foldersAfterClose;
            window.processPendingMessages();
        }
    });
    window.setCurrentTab("高级选择夹1", 1);
    PostMessageW(child("扫描"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(child("扫描"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    window.runMessageLoop();   // returns once the window is gone
    EXPECT_GE(foldersAfterClose, 0);
    EXPECT_LT(foldersAfterClose, 30);   // seen within a few milliseconds
    EXPECT_FALSE(IsWindow(window.handle()));
    EXPECT_EQ(window.caption("标签1"), "");   // inert now, instead of touching destroyed windows
    EXPECT_EQ(window.itemCount("选择列表框3"), 0);
}
