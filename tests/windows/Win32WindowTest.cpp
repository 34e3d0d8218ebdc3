// The real window under Wine: built from the catalogue, worked through the
// control layer, with real messages, timers and a real message pump.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Utf.h"
#include "tests/e2e/WindowSearch.h"
#include "ui/win32/Win32Window.h"

using namespace cc;

namespace {

class Win32WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(window.create());
        window.show();
        window.processPendingMessages();
    }
    void TearDown() override { CoUninitialize(); }

    // The control anywhere below the main window, by its control ID.
    HWND child(std::string_view name) {
        int id = kFirstControlId + FindControl(name);
        return test::FindDescendant(window.handle(), [id](HWND hwnd) { return GetDlgCtrlID(hwnd) == id; });
    }
    // Runs the message loop for a while, as the user-interface thread would.
    void pumpFor(int milliseconds) {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < until) {
            window.processPendingMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    Win32Window window{GetModuleHandleW(nullptr)};
};

}  // namespace

TEST_F(Win32WindowTest, BuildsEveryControlOfTheDesign) {
    std::set<int> ids;
    EnumChildWindows(window.handle(), [](HWND hwnd, LPARAM p) -> BOOL {
        reinterpret_cast<std::set<int>*>(p)->insert(GetDlgCtrlID(hwnd));
        return TRUE;
    }, reinterpret_cast<LPARAM>(&ids));
    for (int i = 0; i < kControlCount; ++i) EXPECT_TRUE(ids.count(kFirstControlId + i)) << Controls()[i].name;

    wchar_t title[64]{};
    GetWindowTextW(window.handle(), title, 64);
    EXPECT_EQ(Narrow(title), "澄川清理助手 V1.0.3");
    EXPECT_EQ(window.windowTitle(), "澄川清理助手 V1.0.3");
    // No system frame: the client area is the whole window.
    RECT client{}, outer{};
    GetClientRect(window.handle(), &client);
    GetWindowRect(window.handle(), &outer);
    EXPECT_EQ(client.right, outer.right - outer.left);
    EXPECT_EQ(client.bottom, outer.bottom - outer.top);
    EXPECT_EQ(window.rect("MainWindow"), (Rect{50, 50, 584, 388}));
}

TEST_F(Win32WindowTest, ControlsStartInTheirDesignedState) {
    EXPECT_EQ(window.rect("高级选择夹2"), (Rect{62, 8, 503, 328}));   // placed from the tab control's corner
    EXPECT_EQ(window.rect("主版信息标签"), (Rect{8, 24, 392, 164}));
    EXPECT_EQ(window.rect("组合框_自动释放值"), (Rect{116, 16, 64, 20}));
    EXPECT_EQ(window.caption("分组框1"), "释放内存：");
    EXPECT_EQ(window.caption("编辑框_强制"), "200");
    EXPECT_EQ(window.caption("组合框_自动释放值"), "1");
    EXPECT_EQ(window.caption("标签1"), "标签");
    EXPECT_FALSE(window.visible("超级链接框1"));
    EXPECT_TRUE(window.visible("标签13"));
    EXPECT_TRUE(window.disabled("单选框1"));
    EXPECT_TRUE(window.checked("单选框2"));
    EXPECT_TRUE(window.checked("选择框1"));
    EXPECT_EQ(window.maximum("CPU进度"), 100);
    EXPECT_EQ(window.interval("CPU时钟"), 0);
    ASSERT_EQ(window.itemCount("选择列表框3"), 37);
    EXPECT_EQ(window.itemText("选择列表框3", 0), "*.??$");
    EXPECT_EQ(window.itemText("选择列表框3", 36), "Thumbs.db");
    EXPECT_FALSE(window.itemChecked("选择列表框3", 5));
    EXPECT_EQ(window.rowCount("超级列表框1"), 0);

    HWND table = child("超级列表框1");
    ASSERT_TRUE(table);
    HWND header = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(table, LVM_GETCOLUMNWIDTH, 0, 0), 130);
    EXPECT_EQ(SendMessageW(child("高级选择夹2"), TCM_GETITEMCOUNT, 0, 0), 7);
    EXPECT_EQ(SendMessageW(child("高级选择夹1"), TCM_GETITEMCOUNT, 0, 0), 6);
}

TEST_F(Win32WindowTest, CheckedListKeepsTextsAndMarksThroughRemoval) {
    const char* list = "选择列表框1";
    // A name outside the GBK code page must survive the round trip.
    const std::string names[] = {"C:\\temp\\a.tmp", "C:\\temp\\\xF0\x9F\x98\x80 smile.tmp", "C:\\temp\\c.log"};
    for (const auto& name : names) window.addItem(list, name);
    ASSERT_EQ(window.itemCount(list), 3);
    EXPECT_EQ(window.itemText(list, 1), names[1]);
    window.setItemChecked(list, 2, true);
    EXPECT_FALSE(window.itemChecked(list, 0));
    EXPECT_TRUE(window.itemChecked(list, 2));
    window.removeItem(list, 0);
    EXPECT_EQ(window.itemText(list, 1), names[2]);
    EXPECT_TRUE(window.itemChecked(list, 1));
    window.setCurrentItem(list, 0);
    EXPECT_EQ(window.currentItem(list), 0);
    window.clearItems(list);
    EXPECT_EQ(window.itemCount(list), 0);

    window.addItem("列表框2", "Realtek PCIe GbE");
    window.addItem("列表框2", "Wi-Fi");
    window.setCurrentItem("列表框2", 1);
    EXPECT_EQ(window.currentItem("列表框2"), 1);
    EXPECT_EQ(window.itemText("列表框2", 1), "Wi-Fi");

    window.addRow("超级列表框1", {"C:", "100", "40", "60"});
    ASSERT_EQ(window.rowCount("超级列表框1"), 1);
    EXPECT_EQ(window.row("超级列表框1", 0), (std::vector<std::string>{"C:", "100", "40", "60"}));
}

TEST_F(Win32WindowTest, UserClicksReachTheirHandlers) {
    std::vector<std::string> seen;
    window.on("选择框1", Event::Clicked, [&] { seen.push_back(window.checked("选择框1") ? "on" : "off"); });
    window.on("按钮1", Event::Clicked, [&] { seen.push_back("scan"); });
    window.on("高级选择夹3", Event::CurrentTabChanged, [&] { seen.push_back("tab " + std::to_string(window.currentTab("高级选择夹3"))); });
    window.on("超级链接框1", Event::LeftButtonPressed, [&] { seen.push_back("link"); });

    window.setCurrentTab("高级选择夹1", 3);
    pumpFor(50);
    SendMessageW(child("选择框1"), BM_CLICK, 0, 0);
    HWND scan = child("按钮1");
    SendMessageW(scan, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(scan, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // A press that is released outside the button is no click.
    SendMessageW(scan, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(scan, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    // A click on the second tab of the junk tab strip.
    HWND tabs = child("高级选择夹3");
    RECT item{};
    SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    // A hidden link is no target; shown, it answers.
    window.setVisible("超级链接框1", true);
    SendMessageW(child("超级链接框1"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    pumpFor(50);

    EXPECT_EQ(seen, (std::vector<std::string>{"off", "scan", "tab 1", "link"}));
    EXPECT_TRUE(IsWindowVisible(child("选择列表框2")));   // the 磁盘 page is showing
    EXPECT_FALSE(IsWindowVisible(child("选择列表框1")));
}

TEST_F(Win32WindowTest, TimersTickOnlyWhileTheyHaveAnInterval) {
    int ticks = 0;
    window.on("CPU时钟", Event::Tick, [&] { ++ticks; });
    pumpFor(150);
    EXPECT_EQ(ticks, 0);
    window.setInterval("CPU时钟", 20);
    pumpFor(400);
    EXPECT_GE(ticks, 3);
    window.setInterval("CPU时钟", 0);
    int stopped = ticks;
    pumpFor(150);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(Win32WindowTest, ACloseInsideALongHandlerEndsTheLoopCleanly) {
    int foldersAfterClose = 0;
    bool closedSeen = false;
    window.on("扫描", Event::Clicked, [&] {
        for (int folder = 0; folder < 50; ++folder) {
            window.setCaption("标签1", "folder " + std::to_string(folder));
            if (folder == 3) PostMessageW(window.handle(), WM_CLOSE, 0, 0);   // the frame's close button
            window.processPendingMessages();
            if (window.windowClosed()) {
                closedSeen = true;
                return;
            }
            if (folder > 3) ++foldersAfterClose;
        }
    });
    window.setCurrentTab("高级选择夹1", 1);
    HWND scan = child("扫描");
    PostMessageW(scan, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(scan, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    window.runMessageLoop();   // returns once the window is gone

    EXPECT_TRUE(closedSeen);
    EXPECT_EQ(foldersAfterClose, 0);
    EXPECT_FALSE(IsWindow(window.handle()));
    // The control layer is inert now instead of touching destroyed windows.
    EXPECT_EQ(window.caption("标签1"), "");
    window.setCaption("标签1", "ignored");
    EXPECT_EQ(window.itemCount("选择列表框3"), 0);
}

TEST_F(Win32WindowTest, ControlBoxAndTitleFollowTheLayer) {
    window.setControlBox(false);
    EXPECT_FALSE(GetWindowLongPtrW(window.handle(), GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(window.controlBox());
    window.setControlBox(true);
    EXPECT_TRUE(window.controlBox());
    window.setWindowTitle("C:\\Windows\\");
    EXPECT_EQ(window.windowTitle(), "C:\\Windows\\");
    window.setPicture("图片框17", 171);
    EXPECT_EQ(window.picture("图片框17"), 171);
    window.setPosition("内存进度", 42);
    EXPECT_EQ(window.position("内存进度"), 42);
}
