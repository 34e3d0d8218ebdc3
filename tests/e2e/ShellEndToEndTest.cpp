// The real program under Wine: its window, every control, every page of the
// three tab controls with a screenshot each, and a clean close.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"
#include "ui/Catalogue.h"

using namespace cc;
using cc::test::ProgramDriver;

std::wstring gProgram;
std::wstring gScreenshots;

namespace {

// A control that stands on the given page, to see that the page is showing.
const char* ControlOnPage(std::string_view tabs, int page) {
    for (const auto& c : Controls())
        if (c.parent == tabs && c.page == page && c.kind != ControlKind::Timer) return c.name.data();
    return nullptr;
}

}  // namespace

TEST(ShellEndToEnd, ShowsTheWindowWithAllControlsAndEveryPage) {
    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start()) << "no main window appeared";

    wchar_t title[64]{};
    GetWindowTextW(program.window(), title, 64);
    EXPECT_EQ(Narrow(title), "澄川清理助手 V1.0.3");
    RECT r{};
    GetWindowRect(program.window(), &r);
    EXPECT_EQ(r.right - r.left, 584);
    EXPECT_EQ(r.bottom - r.top, 388);
    for (int i = 0; i < kControlCount; ++i)
        EXPECT_NE(program.control(kFirstControlId + i), nullptr) << Controls()[i].name;

    HWND outer = program.control("高级选择夹1");
    ASSERT_NE(outer, nullptr);
    const wchar_t* outerNames[] = {L"0_sysinfo", L"1_shortcuts", L"2_empty", L"3_junk", L"4_repair", L"5_empty"};
    for (int tab = 5; tab >= 0; --tab) {   // backwards, so that tab 0 is a real change too
        program.clickTab(outer, tab);
        ASSERT_EQ(program.currentTab(outer), tab);
        if (const char* name = ControlOnPage("高级选择夹1", tab)) EXPECT_TRUE(IsWindowVisible(program.control(name))) << name;
        if (tab == 0) {
            HWND info = program.control("高级选择夹2");
            const wchar_t* names[] = {L"home", L"cpu", L"board", L"disk", L"network", L"memory", L"system"};
            for (int inner = 6; inner >= 0; --inner) {
                program.clickTab(info, inner);
                ASSERT_EQ(program.currentTab(info), inner);
                EXPECT_TRUE(IsWindowVisible(program.control(ControlOnPage("高级选择夹2", inner))));
                EXPECT_GT(program.screenshot(std::wstring(L"0_sysinfo_") + std::to_wstring(inner) + L"_" + names[inner]), 16);
            }
        } else if (tab == 3) {
            HWND junk = program.control("高级选择夹3");
            const wchar_t* names[] = {L"scan", L"drives", L"patterns", L"advanced", L"diskinfo"};
            for (int inner = 4; inner >= 0; --inner) {
                program.clickTab(junk, inner);
                ASSERT_EQ(program.currentTab(junk), inner);
                EXPECT_TRUE(IsWindowVisible(program.control(ControlOnPage("高级选择夹3", inner))));
                EXPECT_GT(program.screenshot(std::wstring(L"3_junk_") + std::to_wstring(inner) + L"_" + names[inner]), 16);
            }
        } else {
            EXPECT_GT(program.screenshot(outerNames[tab]), 8);
        }
    }
    EXPECT_FALSE(IsWindowVisible(program.control("按钮1")));   // junk page hidden again

    EXPECT_EQ(program.closeAndWait(), 0);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    // After gtest's own flags: the program to test and the screenshot folder.
    std::vector<std::wstring> rest;
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
